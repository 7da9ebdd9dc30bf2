// The shipped levels as style records. The campaign's levels teach one thing each, so each
// is shaped for its lesson; the sandbox maps differ from one another in relief, snow, forest
// and road.
#include "level_recipe.h"

namespace vallorn::datagen {

using R = TRelief;
using S = TRoadSide;

// clang-format off
const std::vector<TLevelStyle>& CampaignLevelStyles() {
    static const std::vector<TLevelStyle> styles = {
        // A small gentle snowy hill right by a short road: the base and a first lift fit in
        // a close view.
        {.name = "Mission01", .seed = 0xC0A1, .relief = R::GentleHill, .peak = 75, .spread = 70,
         .sharpness = 1.0, .roughness = 0.1, .treeLine = 45, .forest = 0.05, .roadLength = 60,
         .roadBend = 8, .houses = 1},
        // A broad gentle hill with a plateau, light forest.
        {.name = "Mission02", .seed = 0xC0A2, .relief = R::Plateau, .peak = 120, .spread = 110,
         .sharpness = 1.0, .roughness = 0.12, .treeLine = 90, .forest = 0.15, .roadSide = S::West,
         .roadAt = 0.45, .roadLength = 80, .houses = 2},
        // A low hill whose lower half is bare: snow lies only high up.
        {.name = "Mission03", .seed = 0xC0A3, .relief = R::GentleHill, .peak = 140, .spread = 120,
         .sharpness = 1.1, .snowLine = 110, .treeLine = 80, .forest = 0.2, .roadAt = 0.4,
         .roadLength = 90, .houses = 2},
        // Steep slopes with cliff bands and a gully.
        {.name = "Mission04", .seed = 0xC0A4, .relief = R::Massif, .peak = 300, .spread = 120,
         .sharpness = 1.1, .roughness = 0.3, .snowLine = 60, .treeLine = 170, .forest = 0.3,
         .cliffs = 4, .gully = 30, .roadSide = S::South, .roadLength = 90, .houses = 2},
        // A medium hill with one valley.
        {.name = "Mission05", .seed = 0xC0A5, .relief = R::Valley, .peak = 220, .spread = 120,
         .snowLine = 70, .treeLine = 150, .forest = 0.35, .roadSide = S::East, .roadAt = 0.55,
         .roadLength = 110, .houses = 3},
        // Rolling ridges with two summits.
        {.name = "Mission06", .seed = 0xC0A6, .relief = R::Ridges, .peak = 240, .spread = 150,
         .snowLine = 80, .treeLine = 160, .forest = 0.3, .roadAt = 0.6, .roadLength = 80,
         .houses = 2},
        // A long valley under tall relief: slopes of one and a half to two kilometres.
        {.name = "Mission07", .seed = 0xC0A7, .relief = R::Valley, .peak = 480, .spread = 140,
         .sharpness = 1.25, .roughness = 0.3, .snowLine = 90, .treeLine = 260, .forest = 0.35,
         .cliffs = 2, .roadSide = S::West, .roadAt = 0.5, .roadLength = 60, .houses = 3},
        // A densely forested hill.
        {.name = "Mission08", .seed = 0xC0A8, .relief = R::GentleHill, .peak = 230, .spread = 150,
         .snowLine = 50, .treeLine = 260, .forest = 0.8, .density = 0.85, .roadSide = S::South,
         .roadAt = 0.35, .roadLength = 90, .houses = 2},
        // A wide open snowfield.
        {.name = "Mission09", .seed = 0xC0A9, .relief = R::Plateau, .peak = 200, .spread = 190,
         .sharpness = 0.9, .roughness = 0.1, .treeLine = 45, .forest = 0.1, .roadSide = S::East,
         .roadAt = 0.3, .roadLength = 50, .houses = 1},
        // A medium mountain by a village.
        {.name = "Mission10", .seed = 0xC0AA, .relief = R::Massif, .peak = 300, .spread = 130,
         .snowLine = 90, .treeLine = 190, .forest = 0.35, .roadAt = 0.45, .roadLength = 130,
         .roadBend = 30, .houses = 12},
        // A twin valley.
        {.name = "Mission11", .seed = 0xC0AB, .relief = R::TwinValley, .peak = 330, .spread = 150,
         .snowLine = 80, .treeLine = 200, .forest = 0.35, .roadSide = S::West, .roadLength = 80,
         .houses = 4},
        // Twin peaks.
        {.name = "Mission12", .seed = 0xC0AC, .relief = R::TwinPeaks, .peak = 380, .spread = 170,
         .sharpness = 1.3, .roughness = 0.3, .snowLine = 100, .treeLine = 220, .forest = 0.3,
         .cliffs = 2, .roadSide = S::South, .roadAt = 0.5, .roadLength = 70, .houses = 3},
        // A tall massif: room for a cable car of one to one and a half kilometres.
        {.name = "Mission13", .seed = 0xC0AD, .relief = R::Massif, .peak = 470, .spread = 200,
         .sharpness = 1.3, .roughness = 0.3, .snowLine = 100, .treeLine = 260, .forest = 0.35,
         .cliffs = 3, .roadSide = S::East, .roadAt = 0.5, .roadLength = 60, .houses = 4},
        // A high alpine ridge across the map: an aerial tram line of about two kilometres.
        {.name = "Mission14", .seed = 0xC0AE, .relief = R::Massif, .peak = 560, .spread = 280,
         .shift = 260, .sharpness = 1.4, .roughness = 0.35, .snowLine = 120, .treeLine = 280,
         .forest = 0.3, .cliffs = 3, .roadAt = 0.12, .roadLength = 50, .roadBend = 10, .houses = 3},
        // A big massif with room for everything.
        {.name = "Mission15", .seed = 0xC0AF, .relief = R::Massif, .peak = 520, .spread = 210,
         .sharpness = 1.3, .roughness = 0.3, .snowLine = 90, .treeLine = 270, .forest = 0.4,
         .cliffs = 3, .roadSide = S::West, .roadAt = 0.5, .roadLength = 70, .houses = 5},
    };
    return styles;
}

const std::vector<TLevelStyle>& SandboxLevelStyles() {
    static const std::vector<TLevelStyle> styles = {
        {.name = "Aldermoor", .seed = 0x5A01, .relief = R::GentleHill, .peak = 180, .spread = 140,
         .snowLine = 40, .treeLine = 140, .forest = 0.45, .roadAt = 0.4, .roadLength = 90,
         .houses = 3},
        {.name = "Brightwater", .seed = 0x5A02, .relief = R::Bowl, .peak = 260, .spread = 150,
         .snowLine = 60, .treeLine = 170, .forest = 0.3, .roadSide = S::West, .roadLength = 70,
         .houses = 4},
        {.name = "Corrie", .seed = 0x5A03, .relief = R::Bowl, .peak = 360, .spread = 130,
         .sharpness = 1.15, .roughness = 0.25, .snowLine = 120, .treeLine = 200, .forest = 0.25,
         .cliffs = 1, .roadSide = S::South, .roadAt = 0.6, .roadLength = 60, .houses = 1},
        {.name = "Dunmere", .seed = 0x5A04, .relief = R::Plateau, .peak = 220, .spread = 150,
         .snowLine = 100, .treeLine = 150, .forest = 0.35, .roadSide = S::East, .roadLength = 100,
         .houses = 5},
        {.name = "Eastfell", .seed = 0x5A05, .relief = R::Ridges, .peak = 300, .spread = 160,
         .snowLine = 70, .treeLine = 190, .forest = 0.4, .roadSide = S::East, .roadAt = 0.3,
         .roadLength = 80, .houses = 2},
        {.name = "Frostholm", .seed = 0x5A06, .relief = R::Massif, .peak = 400, .spread = 170,
         .sharpness = 1.3, .roughness = 0.3, .treeLine = 120, .forest = 0.15, .cliffs = 2,
         .roadAt = 0.7, .roadLength = 70, .houses = 2},
        {.name = "Glenvar", .seed = 0x5A07, .relief = R::Valley, .peak = 380, .spread = 130,
         .snowLine = 110, .treeLine = 230, .forest = 0.45, .roadSide = S::West, .roadAt = 0.35,
         .roadLength = 100, .roadBend = 35, .houses = 6},
        {.name = "Highcairn", .seed = 0x5A08, .relief = R::Massif, .peak = 500, .spread = 190,
         .sharpness = 1.4, .roughness = 0.4, .snowLine = 150, .treeLine = 250, .forest = 0.3,
         .cliffs = 4, .roadSide = S::South, .roadLength = 60, .houses = 2},
        {.name = "Ironridge", .seed = 0x5A09, .relief = R::Ridges, .peak = 380, .spread = 180,
         .sharpness = 1.2, .roughness = 0.3, .snowLine = 100, .treeLine = 210, .forest = 0.3,
         .cliffs = 3, .roadAt = 0.25, .roadLength = 70, .houses = 2},
        {.name = "Juniper", .seed = 0x5A0A, .relief = R::GentleHill, .peak = 150, .spread = 170,
         .sharpness = 1.0, .snowLine = 30, .treeLine = 150, .forest = 0.7, .density = 0.8,
         .roadSide = S::East, .roadAt = 0.65, .roadLength = 110, .houses = 4},
        {.name = "Kestrel", .seed = 0x5A0B, .relief = R::TwinPeaks, .peak = 340, .spread = 150,
         .snowLine = 90, .treeLine = 200, .forest = 0.35, .roadSide = S::West, .roadAt = 0.6,
         .roadLength = 70, .houses = 3},
        {.name = "Larchwood", .seed = 0x5A0C, .relief = R::Valley, .peak = 260, .spread = 110,
         .snowLine = 60, .treeLine = 220, .forest = 0.65, .density = 0.75, .roadAt = 0.55,
         .roadLength = 120, .houses = 5},
        {.name = "Moorfoot", .seed = 0x5A0D, .relief = R::Plateau, .peak = 160, .spread = 200,
         .sharpness = 0.9, .snowLine = 80, .treeLine = 100, .forest = 0.2, .roadSide = S::South,
         .roadAt = 0.3, .roadLength = 60, .houses = 2},
        {.name = "Northscar", .seed = 0x5A0E, .relief = R::Massif, .peak = 450, .spread = 150,
         .shift = -80, .sharpness = 1.3, .roughness = 0.35, .snowLine = 130, .treeLine = 200,
         .forest = 0.25, .cliffs = 3, .gully = 25, .roadSide = S::East, .roadAt = 0.6,
         .roadLength = 70, .houses = 1},
        {.name = "Owlpass", .seed = 0x5A0F, .relief = R::TwinValley, .peak = 350, .spread = 140,
         .snowLine = 90, .treeLine = 210, .forest = 0.4, .roadAt = 0.5, .roadLength = 90,
         .houses = 3},
        {.name = "Pinebrook", .seed = 0x5A10, .relief = R::GentleHill, .peak = 210, .spread = 130,
         .shift = 60, .snowLine = 70, .treeLine = 200, .forest = 0.6, .roadSide = S::West,
         .roadAt = 0.3, .roadLength = 100, .roadBend = 30, .houses = 6},
        {.name = "Quarrytop", .seed = 0x5A11, .relief = R::Plateau, .peak = 300, .spread = 140,
         .sharpness = 1.1, .roughness = 0.3, .snowLine = 140, .treeLine = 160, .forest = 0.2,
         .cliffs = 2, .roadSide = S::North, .roadAt = 0.75, .roadLength = 80, .houses = 2},
        {.name = "Ravenhead", .seed = 0x5A12, .relief = R::TwinPeaks, .peak = 440, .spread = 180,
         .sharpness = 1.35, .roughness = 0.35, .snowLine = 120, .treeLine = 230, .forest = 0.3,
         .cliffs = 2, .roadSide = S::South, .roadAt = 0.4, .roadLength = 60, .houses = 2},
        {.name = "Stonehaven", .seed = 0x5A13, .relief = R::Bowl, .peak = 300, .spread = 170,
         .sharpness = 1.1, .snowLine = 80, .treeLine = 180, .forest = 0.35, .roadSide = S::East,
         .roadAt = 0.45, .roadLength = 90, .houses = 8},
        {.name = "Thornvale", .seed = 0x5A14, .relief = R::Valley, .peak = 420, .spread = 150,
         .sharpness = 1.3, .roughness = 0.3, .snowLine = 100, .treeLine = 240, .forest = 0.45,
         .cliffs = 2, .roadSide = S::North, .roadAt = 0.3, .roadLength = 80, .houses = 4},
        // The bonus map: the highest and widest of them all.
        {.name = "Whitepeak", .seed = 0x5A15, .relief = R::Massif, .peak = 580, .spread = 230,
         .shift = 120, .sharpness = 1.4, .roughness = 0.35, .snowLine = 70, .treeLine = 260,
         .forest = 0.3, .cliffs = 4, .roadSide = S::West, .roadAt = 0.2, .roadLength = 60,
         .houses = 3},
    };
    return styles;
}
// clang-format on

}  // namespace vallorn::datagen
