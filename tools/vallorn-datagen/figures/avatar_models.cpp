// The free-ride avatar: AvatarSki.md2 (skiing, carving from edge to edge) and AvatarWalk.md2
// (walking on skis, poles pushing in turn), each a loop of kAvatarFrames key frames at the same
// scale, and AvatarEgg.3ds, the tucked racing position. The skin is avatar.jpg (material
// "avatar"), in the layout of the skier skins; the figure faces +x with its feet at 0 (z-up in
// the MD2 files as the format has it, y-up in the 3ds file).
#include <vector>

#include "figure_models.h"
#include "figure_poses.h"
#include "md2_writer.h"
#include "skin_layout.h"

#include "base/atomic_file.h"

namespace vallorn::datagen::figures {
namespace {

constexpr int kAvatarFrames = 20;

std::vector<mesh::TMesh> Cycle(int cycle) {
    std::vector<mesh::TMesh> frames;
    for (int f = 0; f < kAvatarFrames; ++f)
        frames.push_back(
            FigureFrame(TFigureKind::Skier, AvatarFrame(cycle, f, kAvatarFrames), "avatar"));
    return frames;
}

}  // namespace

bool WriteAvatarModels(const std::filesystem::path& dataFolder, std::string* error) {
    const char* const names[] = {"AvatarSki.md2", "AvatarWalk.md2"};
    const char* const prefixes[] = {"ski", "walk"};
    for (int cycle = 0; cycle < 2; ++cycle) {
        const TMd2Model model =
            Md2FromMeshes(Cycle(cycle), prefixes[cycle], "avatar.jpg", kSkinSize, kSkinSize);
        if (!WriteFileAtomically(dataFolder / names[cycle], EncodeMd2(model), error)) return false;
    }
    return FigureFrame(TFigureKind::Skier, AvatarFrame(2, 0, 1), "avatar")
        .Write(dataFolder / "AvatarEgg.3ds", error);
}

}  // namespace vallorn::datagen::figures
