// The levels the game ships, each made by a recipe of its own from fixed seeds.
#pragma once

#include <string>
#include <vector>

#include "level_model.h"
#include "level_recipe.h"

namespace vallorn::datagen {

// A high massif with a main valley, a road up the valley to a parking plateau, forests
// below the tree line, snow above the snow line and a few cliff bands.
TLevel MakeMountain();
// A small gentle hill, snow everywhere, a short road, a little forest and, by the road's
// end, a shoulder with a red and a black pitch.
TLevel MakeTraining();
// The editor's starting level: flat ground, nothing on it.
TLevel MakeBlank();

struct TLevelRecipe {
    const char* name;
    TLevel (*make)() = nullptr;          // a level of its own recipe ...
    const TLevelStyle* style = nullptr;  // ... or one made from a style record
    TLevel Make() const { return style ? MakeStyledLevel(*style) : make(); }
};

// In generation order: Mountain, Training, blank, the campaign's levels, the sandbox maps.
const std::vector<TLevelRecipe>& LevelRecipes();

}  // namespace vallorn::datagen
