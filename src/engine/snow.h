// Snow and weather (the falling snow is the view's: presentation/snowfall.h).
#pragma once

#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace vallorn {

// Artificial snow from the snow makers' reach, then the snow overlay and mask are marked
// changed and the terrain view refreshed.
void RebuildSnowOverlay(TSKIEngine& engine);
// The snow makers' reach: visiting the cells row by row, a snow maker covers with artificial
// snow every cell of its square that is within the disc of any snow maker visited so far or
// is a visited cell with snow.
void SpreadArtificialSnow(TSKIEngine& engine);
// The day change's snow: grooming ends, natural snow grows or melts at the edges of the
// snow fields by the weather, the overlay is rebuilt.
void EndOfDaySnow(TSKIEngine& engine);
// Grooms the 3 x 3 cells around a cell; the snow overlay and mask are marked changed on
// those cells alone.
void GroomAround(TSKIEngine& engine, int i, int j);
// Park snow quality from the slope cells; unchanged without slope cells.
void ComputeSnowQuality(TSKIEngine& engine);
void ClearArtificialSnowAround(TSKIEngine& engine, int i, int j);
// Displayed temperature in degrees and the weather text of the statistics window.
int32_t Temperature(const TSKIEngine& engine);
std::string WeatherText(const TSKIEngine& engine);
inline bool Snowing(const TSKIEngine& engine) {
    return engine.Park.ParkWeather >= 0.5f;
}
// Snow under a skier (the skier keeps a copy of its cell).
inline bool CellHasSnow(const TerrainCell& c) {
    return c.NaturalSnow || c.ArtificialSnow;
}
// Enjoyment a skiing skier gains on the cell in one update: groomed snow adds
// GameEnjoySnowQualityFactor.
float SnowEnjoyment(const TSKIEngine& engine, const TerrainCell& c);
// Weight of the cell in the accident test: 9 on a bare cell, else 0.
inline float BareSnowAccidentWeight(const TerrainCell& c) {
    return CellHasSnow(c) ? 0 : 9;
}
// Multiplier of the cold gathered while idle, skiing or waiting: height times weather.
float WeatherColdMultiplier(const TSKIEngine& engine, const TerrainCell& c);
// Editor: natural snow above a height; natural snow over the region of cells around a cell
// whose snow is as the cell's: bare, snowy or groomed.
void SnowPeaks(TSKIEngine& engine, float markerHeight);
void FloodSnow(TSKIEngine& engine, int i, int j);

}  // namespace vallorn
