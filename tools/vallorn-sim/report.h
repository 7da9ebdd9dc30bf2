// The JSON texts the runner prints.
#pragma once

#include <functional>
#include <string>

namespace vallorn {
class TSKIEngine;
}

namespace vallorn::sim {

class JsonWriter;

std::string LevelInfoJson(const TSKIEngine& engine);
// `extra` may add fields at the end of the report's object (the action script's results).
std::string RunReportJson(TSKIEngine& engine,
                          const std::function<void(JsonWriter&)>& extra = nullptr);

}  // namespace vallorn::sim
