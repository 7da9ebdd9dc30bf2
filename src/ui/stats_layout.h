// The statistics pages' shared layout: a two-column table of labelled figures.
#pragma once

#include <string>

#include "engine/stats_figures.h"

namespace vallorn::stats {

bool BeginFigures(const char* id);  // EndTable when true
void Figure(const char* label, const std::string& value, TSKIJudged judged = TSKIJudged::Plain);

}  // namespace vallorn::stats
