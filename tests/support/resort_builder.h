// The tests build their resorts with the same layout code as the shipped starter park.
#pragma once

#include "park/resort_layout.h"

namespace vallorn::test {

using datagen::BuildResort;
using datagen::TResortLayout;

}  // namespace vallorn::test
