// The model families vallorn-datagen writes into the data folder; each writes its files under
// the names the game loads (see model_parts.h for the frames).
#pragma once

#include <filesystem>
#include <string>

#include "base/params.h"

namespace vallorn::datagen::models {

// HeliRotor.obj, Sign.obj, wheel.obj, gate.obj, gateClosed.obj.
bool WriteProps(const std::filesystem::path& data, std::string* error);
// car0..9.obj.
bool WriteCars(const std::filesystem::path& data, std::string* error);
// House0..9.obj and their low versions House0..9L.3DS.
bool WriteHouses(const std::filesystem::path& data, std::string* error);
// The stations and poles of one lift type, high and low.
bool WriteLiftStructures(const std::filesystem::path& data, int type, const TSKILiftParams& p,
                         std::string* error);
// The carriers of one lift type, high (with glass where the carrier has windows) and low.
bool WriteLiftCarriers(const std::filesystem::path& data, int type, const TSKILiftParams& p,
                       std::string* error);
// One building type: ModelHi.obj, ModelHi + "GL.3DS" where it has windows, ModelLow.3DS.
bool WriteBuilding(const std::filesystem::path& data, int type, const TSKIBuildingParams& p,
                   std::string* error);
// RescueScooter.obj, Heli.obj + HeliGL.obj + HeliLow.3DS, SCatH.obj + SCatHGL.obj + SCatL.3DS.
bool WriteVehicles(const std::filesystem::path& data, std::string* error);

}  // namespace vallorn::datagen::models
