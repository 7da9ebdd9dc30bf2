// The load and save window "Load and save game": the profile's saved games under "Create new
// save...", and "Save", "Load" and "Delete".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

inline constexpr const char* kCreateNewSave = "Create new save...";

class TSKILoadSaveWindow {
public:
    bool Visible = false;
    // The list again: nothing selected.
    void Fill(const std::string& profileName, const std::filesystem::path& profileFolder);
    size_t Entries() const { return names_.size() + 1; }

    enum class TAction { None, Save, Load, Delete, Close };
    struct TResult {
        TAction Action = TAction::None;
        std::string Name;  // the saved game; empty for "Create new save..."
    };
    // `canSave`: a game with a level is running.
    TResult Draw(bool canSave, float viewWidth, float viewHeight, float scale);

private:
    std::string profile_;
    std::vector<std::string> names_;
    int selected_ = -1;  // 0 the create entry, k the saved game k - 1
    bool raise_ = false;
};

}  // namespace vallorn
