#include "models/models.h"

#include <system_error>

#include "base/params.h"
#include "models/families.h"

namespace fs = std::filesystem;

namespace vallorn::datagen {

bool WriteModels(const fs::path& dataFolder, std::string* summary, std::string* error) {
    TSKIParameters params;
    std::string warnings;
    LoadCatalogues(dataFolder, params, &warnings);
    if (params.LiftTypesRead == 0 || params.BuildingTypesRead == 0) {
        *error = "no lift or building types in " + (dataFolder / "Params.ini").string();
        return false;
    }
    if (!models::WriteProps(dataFolder, error) || !models::WriteCars(dataFolder, error) ||
        !models::WriteHouses(dataFolder, error) || !models::WriteVehicles(dataFolder, error))
        return false;
    for (int t = 0; t < params.LiftTypesRead && t < kLiftTypeCount; ++t) {
        const TSKILiftParams& p = params.Lifts[size_t(t)];
        if (!models::WriteLiftStructures(dataFolder, t, p, error) ||
            !models::WriteLiftCarriers(dataFolder, t, p, error))
            return false;
    }
    for (int t = 0; t < params.BuildingTypesRead && t < kBuildingTypeCount; ++t) {
        if (!models::WriteBuilding(dataFolder, t, params.Buildings[size_t(t)], error)) return false;
    }
    size_t files = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dataFolder, ec)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".obj" || ext == ".3DS" || ext == ".mtl") ++files;
    }
    if (summary) *summary = std::to_string(files) + " model files";
    return true;
}

}  // namespace vallorn::datagen
