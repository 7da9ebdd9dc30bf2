// The sandbox window "Sandbox game": the scenario maps and the difficulty completed on each
// (two lists kept on the same row), the map's thumbnail, the difficulty buttons with their lit
// and unlit pictures, and "Play".
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "missions/missions.h"
#include "ui/picture.h"

namespace vallorn {

class TSKISandboxWindow {
public:
    bool Visible = false;
    // Loads the star pictures (needs the GL context).
    void LoadPictures(const std::filesystem::path& dataFolder);
    // Fills the lists from the profile: map 1 selected, difficulty 1.
    void Show(const TSKIProfile& profile);

    struct TResult {
        std::optional<int> PlayMap;  // 1..21
        int Difficulty = 1;          // 0 unlimited, 1..5
        bool Closed = false;
    };
    TResult Draw(const TSKIProfile& profile, float viewWidth, float viewHeight, float scale);

private:
    std::filesystem::path data_;
    std::vector<TSKISandboxRow> rows_;
    int selected_ = 0;
    int difficulty_ = 1;
    bool raise_ = false;
    std::array<TSKIPicture, 6> lit_, unlit_;
    TSKIPicture thumbnail_;
};

}  // namespace vallorn
