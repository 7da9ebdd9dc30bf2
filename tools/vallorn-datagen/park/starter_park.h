// The starter park the game ships: a small working resort on the default level, saved as
// worlds/Starter.ski.
#pragma once

#include <filesystem>
#include <string>

#include "park/resort_layout.h"

namespace vallorn::datagen {

inline constexpr const char* kStarterLevel = "Mountain";
inline constexpr const char* kStarterFile = "Starter.ski";

struct TStarterPark {
    TResortLayout main;  // parking, quad chairlift, two slopes, stall, shelter
    int secondParking = -1;
    int beginnerLift = -1, beginnerSlope = -1;
    int snowCannon = -1, skiPatrol = -1, garage = -1;
};

// Builds the starter park on the loaded default level: the resort of BuildResort with a short
// quad chairlift, plus a second parking lot, a T-bar with its own slope, a snow cannon, a ski
// patrol with its snowmobiles and a snowcat garage with its snowcats. Returns why it could
// not, or "".
std::string BuildStarterPark(TSKIEngine& engine, TStarterPark* out = nullptr);

// Loads the default level from `root`/worlds, builds the starter park and saves it there as
// a sandbox game.
bool WriteStarterPark(const std::filesystem::path& root, std::string* error);

}  // namespace vallorn::datagen
