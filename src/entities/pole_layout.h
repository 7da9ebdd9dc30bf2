// The pole layout of a lift's up line, shared by building a lift and by pricing one.
#pragma once

#include <vector>

#include "base/params.h"
#include "base/types.h"

namespace vallorn {

class TSKIWorld;

// From the two station points at terrain height: up to 500 rounds, each examining only the
// longest span (sampled every 4 units, `skipSamples` samples ignored at each end) and putting
// a pole at terrain height where the terrain rises highest above it or, failing that, lies
// farthest above or below it beyond half a pole height. When the layout settles, the
// stations are raised by the type's station height and the poles by its pole height and
// true is returned; when the rounds run out the points keep their terrain heights.
bool LayOutPoles(const TSKIWorld& world, const TSKILiftParams& type, std::vector<TSKIVector>& up,
                 int skipSamples);

}  // namespace vallorn
