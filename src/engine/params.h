// Loading of the parameter tables.
#pragma once

#include "engine/engine.h"

namespace vallorn {

// Reads Params.ini, GameParams.ini and Options.ini into the tables.
void LoadParameters(TSKIEngine& engine);

}  // namespace vallorn
