// The models of the scene's figures and surroundings, written with the mesh kit.
#pragma once

#include <filesystem>
#include <string>

#include "figure_body.h"
#include "meshkit.h"

namespace vallorn::datagen::figures {

// A material that shows a whole picture of the data folder: `name` + ".jpg".
mesh::TMaterial SkinMaterial(const std::string& name);
// One frame of a figure in a pose, dressed in `skin`, facing +x.
mesh::TMesh FigureFrame(TFigureKind kind, const TPose& pose, const std::string& skin);

// <kind>/<pose><i>.3DS for the three kinds, every pose, i = 0..19.
bool WriteSkierModels(const std::filesystem::path& dataFolder, std::string* error);
// treeA0..29.3DS, TreeLS.3DS, TreeLG.3DS and Dome.3DS.
bool WriteTreeAndSkyModels(const std::filesystem::path& dataFolder, std::string* error);
// AvatarSki.md2, AvatarWalk.md2 and AvatarEgg.3ds.
bool WriteAvatarModels(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen::figures
