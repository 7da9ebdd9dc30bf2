#include "figures.h"

#include "figure_images.h"
#include "figure_models.h"

namespace vallorn::datagen::figures {

bool WriteFigures(const std::filesystem::path& dataFolder, std::string* error) {
    return WriteFigureImages(dataFolder, error) && WriteSkierModels(dataFolder, error) &&
           WriteTreeAndSkyModels(dataFolder, error) && WriteAvatarModels(dataFolder, error);
}

}  // namespace vallorn::datagen::figures
