#include "figure_images.h"

#include <stb_image_write.h>

#include "base/atomic_file.h"

namespace vallorn::datagen::figures {

void TRgbaCanvas::Paint(const paint::TSdf& shape, const paint::TRgb& rgb, double opacity,
                        paint::TArea area) {
    paint::Paint(color, shape, rgb, opacity, area);
    paint::Paint(alpha, shape, {255, 255, 255}, opacity, area);
}

bool WriteTga(const std::filesystem::path& path, const TRgbaCanvas& picture, std::string* error) {
    const int w = picture.color.Width(), h = picture.color.Height();
    const TSKIImage color = picture.color.ToImage(), alpha = picture.alpha.ToImage();
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (size_t k = 0; k < size_t(w) * h; ++k) {
        for (int c = 0; c < 3; ++c) rgba[k * 4 + c] = color.Pixels()[k * 3 + c];
        rgba[k * 4 + 3] = alpha.Pixels()[k * 3];
    }
    std::string bytes;
    stbi_write_tga_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       size_t(size));
        },
        &bytes, w, h, 4, rgba.data());
    if (bytes.empty()) {
        *error = "cannot encode " + path.filename().string();
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

bool WriteFigureImages(const std::filesystem::path& dataFolder, std::string* error) {
    return WriteTreeImages(dataFolder, error) && WriteSkyImages(dataFolder, error) &&
           WriteSkinImages(dataFolder, error) && WriteIconImages(dataFolder, error);
}

}  // namespace vallorn::datagen::figures
