// The skier flip-books: for each kind ("Skier", "Board", "SkierF") and pose (figure_poses.h)
// the frames <kind>/<pose><i>.3DS, i = 0..19, in the data folder.
//
// The figure faces +x in the files (the game turns the skier models by -90 degrees about the
// vertical, which brings it to face +z), feet at y 0, seated figures with the seat at y 0.
// Every part uses one material named kind + "c0" with the texture kind + "c0.jpg"; the skins
// kind + "c" + n + ".jpg" share its layout (skin_layout.h), so the renderer dresses a skier by
// binding the material kind + "c" + n in its place. (Assimp's 3DS reader gives the material back
// as kind + "c0_0"; its texture file name is the one to go by.)
#include <string>

#include "figure_models.h"
#include "figure_poses.h"

namespace vallorn::datagen::figures {

mesh::TMaterial SkinMaterial(const std::string& name) {
    return {name, {1, 1, 1}, name + ".jpg", 1};
}

mesh::TMesh FigureFrame(TFigureKind kind, const TPose& pose, const std::string& skin) {
    mesh::TMesh m;
    const int material = m.Material(SkinMaterial(skin));
    m.RotateY(1.5707963f);  // built facing +z, stored facing +x
    BuildFigure(m, kind, pose, material);
    MapSkinUvs(m);
    WindAlongNormals(m);
    return OnePart(m, "Figure");
}

bool WriteSkierModels(const std::filesystem::path& dataFolder, std::string* error) {
    for (int k = 0; k < 3; ++k) {
        const auto kind = TFigureKind(k);
        const std::string name = kFigureKindNames[k];
        std::error_code ec;
        std::filesystem::create_directories(dataFolder / name, ec);
        if (ec) {
            *error = "cannot create " + (dataFolder / name).string() + ": " + ec.message();
            return false;
        }
        for (int pose = 0; pose < kPoses; ++pose)
            for (int i = 0; i < kFlipFrames; ++i) {
                const mesh::TMesh frame = FigureFrame(kind, PoseFrame(kind, pose, i), name + "c0");
                const std::string file = kPoseNames[pose] + std::to_string(i) + ".3DS";
                if (!frame.Write(dataFolder / name / file, error)) return false;
            }
    }
    return true;
}

}  // namespace vallorn::datagen::figures
