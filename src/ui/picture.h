// A picture of the data folder as a texture for the windows (bmp, jpg, png); a missing or
// unreadable file leaves it empty.
#pragma once

#include <filesystem>
#include <memory>

#include <imgui.h>

namespace vallorn {

namespace gl {
class TTexture;
}

class TSKIPicture {
public:
    TSKIPicture();
    ~TSKIPicture();
    TSKIPicture(TSKIPicture&&) noexcept;
    TSKIPicture& operator=(TSKIPicture&&) noexcept;

    // Loads the file (needs the GL context); false and empty when it cannot be read.
    bool Load(const std::filesystem::path& file);
    void Clear();
    bool Loaded() const { return texture_ != nullptr; }
    ImTextureID Id() const;
    ImVec2 Size() const;
    const std::filesystem::path& File() const { return file_; }

private:
    std::unique_ptr<gl::TTexture> texture_;
    std::filesystem::path file_;
};

}  // namespace vallorn
