// What shows while a park loads: the loading picture and a tip below it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "ui/desktop_layout.h"

namespace vallorn {

namespace gl {
class TTexture;
}

class TSKILoadingScreen {
public:
    TSKILoadingScreen();
    ~TSKILoadingScreen();

    // data/loading.jpg as a texture (needs the GL context); without it only the tip shows.
    void LoadPicture(const std::filesystem::path& file);
    // The picture's size in pixels, scaled (a default when there is none).
    TSKIRect PictureSize(float scale) const;

    void Show(std::string tip) {
        tip_ = std::move(tip);
        visible_ = true;
    }
    void Hide() { visible_ = false; }
    bool Visible() const { return visible_; }
    // Inside the ImGui frame: over a black background, where ArrangeDesktop placed them.
    // `underBoxes`: a box is showing and must stay in front of the picture.
    void Draw(float width, float height, const TSKIRect& picture, const TSKIRect& tip,
              bool underBoxes = false) const;
    // Behind every window while no park shows (the title screen at the first start): the
    // picture filling the screen, cut to keep its proportions.
    void DrawBackdrop(float width, float height) const;

private:
    std::unique_ptr<gl::TTexture> picture_;
    std::string tip_;
    bool visible_ = false;
};

}  // namespace vallorn
