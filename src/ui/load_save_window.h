// The load and save window "Load and save game": under "Create new save..." the profile's saved
// games and its automatic saves, newest first, with the time each was written and its park;
// a game the window cannot load is shown greyed with the reason. "Save", "Load" and "Delete".
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "missions/missions.h"

namespace vallorn {

inline constexpr const char* kCreateNewSave = "Create new save...";

class TSKILoadSaveWindow {
public:
    bool Visible = false;
    // The list again: nothing selected.
    void Fill(const std::string& profileName, const TSKIFolders& folders);
    // The create entry and the player's own saved games (not the automatic ones): what the
    // proposed name of a new save counts.
    size_t Entries() const;

    enum class TAction { None, Save, Load, Delete, Close };
    struct TResult {
        TAction Action = TAction::None;
        std::string Name;  // the saved game; empty for "Create new save..."
        std::filesystem::path Path;
    };
    // `canSave`: a game with a level is running.
    TResult Draw(bool canSave, float viewWidth, float viewHeight, float scale);

private:
    std::string profile_;
    std::vector<TSKISavedGame> games_;
    int selected_ = -1;  // 0 the create entry, k the saved game k - 1
    bool raise_ = false;
};

}  // namespace vallorn
