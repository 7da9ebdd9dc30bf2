// Every model the game loads from its data folder, generated: props, cars, houses, the
// stations, towers and carriers of the lift types and the building types under their
// Params.ini names, and the vehicles.
#pragma once

#include <filesystem>
#include <string>

namespace vallorn::datagen {

// Reads the lift and building catalogues from dataFolder/Params.ini (copied there first) and
// writes all models into dataFolder. `summary` gets the count of files written.
bool WriteModels(const std::filesystem::path& dataFolder, std::string* summary, std::string* error);

}  // namespace vallorn::datagen
