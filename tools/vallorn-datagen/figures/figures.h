// The scene's figures and surroundings that vallorn-datagen writes into the data folder: the
// trees (billboards, leaf sprays, the 30-frame swaying conifer, the low trees), the sky (six dome
// pictures, the dome, the reflection cube map), the skiers (skins and pose flip-books of the
// kinds "Skier", "Board" and "SkierF"), the free-ride avatar, the low-detail building atlas and
// the imprint icons.
#pragma once

#include <filesystem>
#include <string>

namespace vallorn::datagen::figures {

bool WriteFigures(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen::figures
