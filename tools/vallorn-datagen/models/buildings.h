// The building types, each drawn into a model and its glass (buildings_*.cpp).
#pragma once

#include "base/params.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {

// Stools or benches under the visible seats, tables beside them.
void SeatFurniture(TMesh& m, const TSKIBuildingParams& p);

void SnowCannon(TMesh& m);
void Stall(TMesh& m, TMesh& glass, bool kiosk);
void RescueStation(TMesh& m, TMesh& glass, bool patrol);
void Hospital(TMesh& m, TMesh& glass);
void SnowcatGarage(TMesh& m, TMesh& glass);
void SnowBar(TMesh& m, TMesh& glass);
void Cot(TMesh& m, TMesh& glass);
void Shelter(TMesh& m);
void Sightseeing(TMesh& m);
void Parking(TMesh& m);
void SelfService(TMesh& m, TMesh& glass);

}  // namespace vallorn::datagen::models
