// The JSON texts the runner prints.
#pragma once

#include <functional>
#include <string>

namespace vallorn {
class TSKIEngine;
struct TSKIProfile;
}  // namespace vallorn

namespace vallorn::sim {

class JsonWriter;

std::string LevelInfoJson(const TSKIEngine& engine);
// `extra` may add fields at the end of the report's object (the action script's results).
std::string RunReportJson(TSKIEngine& engine,
                          const std::function<void(JsonWriter&)>& extra = nullptr);

// The mission's fields of the run report: "Objectives" (each with name, type, value, active,
// completed, primary), "Accomplished", and "ProfileGained", what the profile won between
// `before` and `after`: missions unlocked and completed, blueprints, terms that changed and
// sandbox progress.
void WriteMissionReport(JsonWriter& w, const TSKIEngine& engine, bool accomplished,
                        const TSKIProfile& before, const TSKIProfile& after);

}  // namespace vallorn::sim
