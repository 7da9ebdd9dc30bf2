#include "ui/picture.h"

#include <stb_image.h>

#include <cstdint>

#include "presentation/gl.h"

namespace vallorn {

TSKIPicture::TSKIPicture() = default;
TSKIPicture::~TSKIPicture() = default;
TSKIPicture::TSKIPicture(TSKIPicture&&) noexcept = default;
TSKIPicture& TSKIPicture::operator=(TSKIPicture&&) noexcept = default;

bool TSKIPicture::Load(const std::filesystem::path& file) {
    if (texture_ && file == file_) return true;
    Clear();
    int w = 0, h = 0, channels = 0;
    uint8_t* pixels = stbi_load(file.string().c_str(), &w, &h, &channels, 4);
    if (!pixels) return false;
    texture_ = std::make_unique<gl::TTexture>();
    texture_->UploadRgba(w, h, pixels, false, false);
    stbi_image_free(pixels);
    file_ = file;
    return true;
}

void TSKIPicture::Clear() {
    texture_.reset();
    file_.clear();
}

ImTextureID TSKIPicture::Id() const {
    return texture_ ? ImTextureID(intptr_t(texture_->Id())) : ImTextureID{};
}

ImVec2 TSKIPicture::Size() const {
    return texture_ ? ImVec2(float(texture_->Width()), float(texture_->Height())) : ImVec2(0, 0);
}

}  // namespace vallorn
