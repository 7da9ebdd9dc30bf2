// The game's modal boxes: error, information, Yes/No, text input and the end-of-day report.
// Each call blocks the action that asked, as a modal box does: it runs a nested loop that
// keeps drawing the game (without advancing the park) with the box on top until answered.
//
// Boxes are shown between frames. The park, the tools and the windows' actions run outside
// the interface's frame, so whatever they ask is shown at once. A message (error,
// information, day report) asked while a frame is being drawn needs no answer: it waits and
// is shown as soon as that frame is finished (ShowWaiting). A question whose answer the asker
// needs at once cannot wait; asking one while a frame is drawn is a fault of the program: it
// is named on stderr, and in strict mode (the probe's and the tests') the game exits with
// kQuestionInFrameStatus.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "engine/engine.h"

namespace vallorn {

class TSKIGameDialogs : public IDialogs {
public:
    // Draws one frame of the game behind the box: pumps events, draws the view and the
    // windows, calls `drawBox` inside the ImGui frame, presents. Returns false when the
    // window is being closed (the open box then takes its default answer).
    using TFrame = std::function<bool(const std::function<void()>& drawBox)>;

    // Without a frame (null) every box takes its default answer at once.
    explicit TSKIGameDialogs(TFrame frame);
    ~TSKIGameDialogs() override;

    // The engine whose calendar and profile the day report reads.
    void SetEngine(const TSKIEngine* engine) { engine_ = engine; }
    // A box is being shown (the game loop must not advance the park meanwhile). A box asked
    // while another shows stacks on top of it.
    bool Showing() const { return depth_ > 0; }
    // Shows the messages asked while a frame was drawn, one after the other; called by the
    // game loop once a frame is finished. Does nothing while a box shows (they follow it).
    void ShowWaiting();
    size_t Waiting() const { return waiting_.size(); }
    // A question asked inside a frame ends the program (status kQuestionInFrameStatus).
    void SetStrict(bool strict) { strict_ = strict; }
    static constexpr int kQuestionInFrameStatus = 70;

    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    bool AskYesNo(const std::string& text, bool defaultAnswer) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& initial) override;
    void ShowDayReport(const TSKIParkData& start, const TSKIParkData& end,
                       int happySkiers) override;
    void SetBusyCursor(bool busy) override;
    // Set by the window: shows the wait cursor while long work runs.
    std::function<void(bool)> BusyCursor;

private:
    struct TBox;
    bool Run(TBox& box, bool defaultAnswer);
    static bool InFrame();
    void DrawFrom(size_t level);
    void DrawBody(TBox& box, bool top);

    TFrame frame_;
    const TSKIEngine* engine_ = nullptr;
    int depth_ = 0;
    int serial_ = 0;
    std::vector<TBox*> stack_;                   // the boxes showing, bottom to top
    std::deque<std::unique_ptr<TBox>> waiting_;  // messages asked inside a frame
    bool strict_ = false;
};

}  // namespace vallorn
