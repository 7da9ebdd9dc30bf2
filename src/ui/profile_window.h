// The profile window "Profile": the current profile, the list of profiles and "Create new",
// "Delete" and "Select". It cannot be closed while there is no current profile.
#pragma once

#include <string>
#include <vector>

namespace vallorn {

class TSKIProfileWindow {
public:
    bool Visible = false;
    // Fills the list (the names of the profile files) and shows the current name.
    void Fill(std::vector<std::string> names, const std::string& current);

    enum class TAction { None, Create, Delete, Select, Close };
    struct TResult {
        TAction Action = TAction::None;
        std::string Name;  // the selected entry, for Delete and Select
    };
    // Inside the ImGui frame. `hasProfile`: a profile is current (the window may close).
    TResult Draw(bool hasProfile, float viewWidth, float viewHeight, float scale);
    bool Empty() const { return names_.empty(); }

private:
    std::vector<std::string> names_;
    std::string shown_;  // LabelCurProfile
    int selected_ = -1;
    bool raise_ = false;
};

}  // namespace vallorn
