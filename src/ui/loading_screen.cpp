#include "ui/loading_screen.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdint>

#include <imgui.h>

#include "presentation/gl.h"

namespace vallorn {

TSKILoadingScreen::TSKILoadingScreen() = default;
TSKILoadingScreen::~TSKILoadingScreen() = default;

void TSKILoadingScreen::LoadPicture(const std::filesystem::path& file) {
    int w = 0, h = 0, channels = 0;
    uint8_t* pixels = stbi_load(file.string().c_str(), &w, &h, &channels, 4);
    if (!pixels) {
        picture_.reset();
        return;
    }
    picture_ = std::make_unique<gl::TTexture>();
    picture_->UploadRgba(w, h, pixels, false, false);
    stbi_image_free(pixels);
}

TSKIRect TSKILoadingScreen::PictureSize(float scale) const {
    if (!picture_) return {0, 0, 400 * scale, 0};
    return {0, 0, float(picture_->Width()) * scale, float(picture_->Height()) * scale};
}

void TSKILoadingScreen::Draw(float width, float height, const TSKIRect& picture,
                             const TSKIRect& tip, bool underBoxes) const {
    if (!visible_) return;
    // Over every window, but under a box that asks the player something.
    ImDrawList* list = underBoxes ? ImGui::GetBackgroundDrawList() : ImGui::GetForegroundDrawList();
    list->AddRectFilled(ImVec2(0, 0), ImVec2(width, height), IM_COL32(0, 0, 0, 255));
    if (picture_) {
        list->AddImage(ImTextureID(intptr_t(picture_->Id())), ImVec2(picture.X, picture.Y),
                       ImVec2(picture.X + picture.W, picture.Y + picture.H));
    }
    if (tip_.empty()) return;
    // The tip wraps to its width, each line centred.
    ImFont* font = ImGui::GetFont();
    const float size = ImGui::GetFontSize();
    const char* text = tip_.c_str();
    const char* end = text + tip_.size();
    float y = tip.Y;
    while (text < end) {
        const char* lineEnd =
            font->CalcWordWrapPositionA(1.0f * size / font->FontSize, text, end, tip.W);
        if (lineEnd == text) lineEnd = text + 1;
        const ImVec2 extent = font->CalcTextSizeA(size, 1e9f, 0, text, lineEnd);
        list->AddText(font, size, ImVec2(tip.X + (tip.W - extent.x) / 2, y),
                      IM_COL32(230, 230, 230, 255), text, lineEnd);
        y += size * 1.3f;
        text = lineEnd;
        while (text < end && *text == ' ') ++text;
    }
}

void TSKILoadingScreen::DrawBackdrop(float width, float height) const {
    if (!picture_ || picture_->Width() <= 0 || picture_->Height() <= 0) return;
    const float scale =
        std::max(width / float(picture_->Width()), height / float(picture_->Height()));
    const float w = float(picture_->Width()) * scale, h = float(picture_->Height()) * scale;
    const ImVec2 corner((width - w) / 2, (height - h) / 2);
    ImGui::GetBackgroundDrawList()->AddImage(ImTextureID(intptr_t(picture_->Id())), corner,
                                             ImVec2(corner.x + w, corner.y + h));
}

}  // namespace vallorn
