// The editor's "Mat info": the scene's materials as the model library holds them.
#include <algorithm>

#include "presentation/scene_impl.h"
#include "presentation/scene_renderer.h"

namespace vallorn {

std::vector<std::string> TModelLibrary::TextureInfo() const {
    std::vector<std::string> lines;
    for (const auto& [file, texture] : textures_) {
        std::string line = file + ": ";
        if (!texture) {
            line += "no texture";
        } else {
            line += std::to_string(texture->Width()) + " x " + std::to_string(texture->Height()) +
                    ", GL texture " + std::to_string(texture->Id());
        }
        lines.push_back(std::move(line));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::string> TSKISceneRenderer::MaterialInfo() const {
    std::vector<std::string> lines = impl_->Library.TextureInfo();
    lines.insert(lines.begin(), "Materials: " + std::to_string(lines.size()) + " (models: " +
                                    std::to_string(impl_->Library.ModelCount()) + ")");
    return lines;
}

}  // namespace vallorn
