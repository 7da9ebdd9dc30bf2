#include "gui/gui_play.h"

#include <cstdlib>
#include <filesystem>

namespace vallorn::gui {

bool ParkShown(const TProbeState& s) {
    return s.HasWindow("Main menu") && s.Has("park_time");
}

::testing::AssertionResult PlayStarterPark(TGame& game) {
    constexpr double kStart = 60;  // seconds for the game to come up on a busy machine
    if (!game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart)) {
        return ::testing::AssertionFailure() << "no frame drawn\n" << game.Log();
    }
    // A key pressed while the window is still coming up may be lost: press again if so.
    for (int tries = 0; tries < 6; ++tries) {
        if (game.State().Number("intro") == 1) game.Key("Return");
        if (game.WaitFor(ParkShown, kStart / 6)) {
            // The starter park is an unlimited game: its first evaluation says so in a window
            // over the view, which the tests put away.
            const auto unlimited = [](const TProbeState& st) {
                return st.HasWindow("Unlimited mode");
            };
            if (game.WaitFor(unlimited, 20) && game.ClickItem("button", "Continue playing") &&
                game.WaitFor([&](const TProbeState& st) { return !unlimited(st); }, 10)) {
                return ::testing::AssertionSuccess();
            }
            return ::testing::AssertionFailure() << "the unlimited game's window stayed\n"
                                                 << game.Log();
        }
    }
    const TProbeState s = game.State();
    std::string values;
    for (const auto& [key, value] : s.values) values += key + "=" + value + " ";
    for (const std::string& w : s.windows) values += "[" + w + "] ";
    return ::testing::AssertionFailure()
           << "the park did not show by frame " << s.frame << ": " << values << "\n"
           << game.Log();
}

void KeepGuiShot(const TGame& game, const std::string& name) {
    if (const char* dir = std::getenv("VALLORN_GUI_SHOTS")) {
        std::error_code ec;
        std::filesystem::copy_file(game.Folder() / "probe" / "shot.png",
                                   std::filesystem::path(dir) / name,
                                   std::filesystem::copy_options::overwrite_existing, ec);
    }
}

}  // namespace vallorn::gui
