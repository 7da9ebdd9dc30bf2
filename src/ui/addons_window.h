// The add-ons window "Addons": the maps of the add-ons folder, the preview picture and the
// description their first four letters pick, "Play", and the link to the page that says where
// add-ons go.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "missions/missions.h"
#include "ui/picture.h"

namespace vallorn {

class TSKIAddonsWindow {
public:
    bool Visible = false;
    // The list again: nothing selected, "Play" disabled, no preview.
    void Show(const TSKIFolders& folders);

    struct TResult {
        std::optional<std::string> Play;  // the add-on to play
        bool Link = false;                // "Check internet for new addons"
        bool Closed = false;
    };
    TResult Draw(float viewWidth, float viewHeight, float scale);

private:
    void Select(int row);

    TSKIFolders folders_;
    std::vector<std::string> names_;
    int selected_ = -1;
    std::string prefix_;
    TSKIPicture picture_;
    std::string description_;
    bool raise_ = false;
};

}  // namespace vallorn
