#include "canvas.h"

#include <stb_image_write.h>

#include "base/atomic_file.h"

namespace vallorn::datagen::paint {

bool WriteBmp(const std::filesystem::path& path, const TSKIImage& image, std::string* error) {
    std::string bytes;
    stbi_write_bmp_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       size_t(size));
        },
        &bytes, image.Width(), image.Height(), 3, image.Pixels().data());
    if (bytes.empty()) {
        *error = "cannot encode " + path.filename().string();
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace vallorn::datagen::paint
