// The JSON texts the runner prints.
#pragma once

#include <string>

namespace vallorn {
class TSKIEngine;
}

namespace vallorn::sim {

std::string LevelInfoJson(const TSKIEngine& engine);
std::string RunReportJson(TSKIEngine& engine);

}  // namespace vallorn::sim
