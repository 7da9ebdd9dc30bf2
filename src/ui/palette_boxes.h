// The lift and building palette boxes: while the pointer rests on a lift or building item of
// the build menu, a small box beside the menu shows the type's picture and figures, read from
// the parameter tables (it changes nothing).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/params.h"

namespace vallorn {

enum class TSKIPaletteKind : uint8_t { Lift, Building };

struct TSKIPaletteText {
    std::string Title;
    std::vector<std::pair<std::string, std::string>> Rows;  // caption, value
    std::string Description;
};

// The box's texts for lift types 0..6 and building types 0..12; nothing for another index.
std::optional<TSKIPaletteText> LiftPaletteText(const TSKIParameters& params, int type);
std::optional<TSKIPaletteText> BuildingPaletteText(const TSKIParameters& params, int type);
// A building's services as the box lists them: "fun,", "warm up,", "rest," and "food" for
// each refill above 0, in that order.
std::string PaletteServices(const TSKIBuildingParams& type);

// The box's top: the pointer's height rounded down to a multiple of 12 pixels.
float PaletteTop(float mouseY, float scale);

// Inside the ImGui frame, on top of the build menu: the box of `type` with its left edge at
// `left` (beside the menu). Nothing for a type outside the ranges.
void DrawPaletteBox(const TSKIParameters& params, TSKIPaletteKind kind, int type, float left,
                    float mouseY, float viewWidth, float viewHeight, float scale);

// The type's picture in a `w` × `h` panel at the cursor (palette_pictures.cpp).
void DrawPalettePicture(TSKIPaletteKind kind, int type, float w, float h);

}  // namespace vallorn
