#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <imgui.h>

#include "ui/headless_imgui.h"

namespace vallorn {
namespace {

// A display-less interface: frames are built and thrown away; keys are scripted per frame.
class HeadlessGui : public test::THeadlessImGui {
public:
    HeadlessGui() {
        ImGuiIO& io = ImGui::GetIO();
        io.KeyMap[ImGuiKey_Enter] = 1;
        io.KeyMap[ImGuiKey_Escape] = 2;
    }

    // One frame with the given keys held (1 Enter, 2 Escape, 0 none).
    void Frame(int key, const std::function<void()>& draw) {
        ImGuiIO& io = ImGui::GetIO();
        io.KeysDown[1] = key == 1;
        io.KeysDown[2] = key == 2;
        ImGui::NewFrame();
        draw();
        ImGui::Render();
        ++frames;
    }
    int frames = 0;
};

TEST(GameDialogs, AQuestionWaitsForItsAnswerFromTheKeys) {
    HeadlessGui gui;
    // Enter is held as the box opens (the key that led to the question), released, then
    // Escape answers No.
    std::vector<int> keys = {1, 1, 0, 2};
    TSKIGameDialogs dialogs([&](const std::function<void()>& draw) {
        EXPECT_LT(gui.frames, int(keys.size())) << "the box did not close";
        if (gui.frames >= int(keys.size())) return false;
        gui.Frame(keys[size_t(gui.frames)], draw);
        return true;
    });
    EXPECT_FALSE(dialogs.AskYesNo("Delete Slope #1?", true));
    EXPECT_EQ(gui.frames, 4);
    EXPECT_FALSE(dialogs.Showing());

    // The text box gives back what it holds on Enter.
    gui.frames = 0;
    keys = {0, 1};
    EXPECT_EQ(dialogs.InputText("Save game", "Name:", "Alpine"), "Alpine");
    EXPECT_EQ(gui.frames, 2);
}

TEST(GameDialogs, BoxesStackAndTakeTheirDefaultsWhenTheWindowCloses) {
    HeadlessGui gui;
    bool closing = false, askedInside = false;
    std::vector<std::string> order;
    TSKIGameDialogs* self = nullptr;
    // The outer box's second frame asks a second question from the event handling; Enter on
    // a later frame answers the top box only, Escape then the one below.
    const int keys[] = {0, 0, 0, 1, 0, 2};
    TSKIGameDialogs dialogs([&](const std::function<void()>& draw) {
        if (closing || gui.frames >= 6) return false;
        if (gui.frames == 1 && !askedInside) {
            askedInside = true;
            order.push_back(self->AskYesNo("Inner", false) ? "inner yes" : "inner no");
        }
        gui.Frame(keys[gui.frames], draw);
        return true;
    });
    self = &dialogs;
    order.push_back(dialogs.AskYesNo("Outer", true) ? "outer yes" : "outer no");
    EXPECT_EQ(order, (std::vector<std::string>{"inner yes", "outer no"}));

    // Closing the window while a box shows: each kind takes its default answer.
    closing = true;
    EXPECT_TRUE(dialogs.AskYesNo("Save game on exit?", true));
    EXPECT_FALSE(dialogs.AskYesNo("Save game on exit?", false));
    EXPECT_EQ(dialogs.InputText("Profile", "Name:", "Player"), "Player");
    dialogs.ShowError("Not enough money!");  // returns at once
}

TEST(GameDialogs, AMessageAskedWhileAFrameIsDrawnIsShownOnceTheFrameIsDone) {
    HeadlessGui gui;
    std::vector<int> keys;
    int boxFrames = 0;
    TSKIGameDialogs* self = nullptr;
    TSKIGameDialogs dialogs([&](const std::function<void()>& draw) {
        if (gui.frames >= 8) return false;
        boxFrames += self->Showing();
        gui.Frame(keys.empty() ? 0 : keys[size_t(gui.frames) % keys.size()], draw);
        return true;
    });
    self = &dialogs;
    // A race ends while the frame is drawn: its message cannot open a box there.
    gui.Frame(0, [&] {
        dialogs.ShowInformation("Race finished. Your time: 1 minute, 15 seconds");
        EXPECT_FALSE(dialogs.Showing());
    });
    EXPECT_EQ(dialogs.Waiting(), 1u);
    // After the frame it is shown, and stays until Enter answers it.
    gui.frames = 0;
    keys = {0, 0, 1};
    dialogs.ShowWaiting();
    EXPECT_EQ(dialogs.Waiting(), 0u);
    EXPECT_EQ(boxFrames, 3);
    EXPECT_FALSE(dialogs.Showing());
}

TEST(GameDialogsDeathTest, AQuestionAskedWhileAFrameIsDrawnEndsAStrictGame) {
    HeadlessGui gui;
    TSKIGameDialogs dialogs([&](const std::function<void()>& draw) {
        gui.Frame(1, draw);
        return true;
    });
    dialogs.SetStrict(true);
    EXPECT_EXIT(gui.Frame(0, [&] { dialogs.AskYesNo("Delete Slope #1?", false); }),
                ::testing::ExitedWithCode(TSKIGameDialogs::kQuestionInFrameStatus),
                "a question was asked while a frame was drawn: Delete Slope #1\\?");
}

}  // namespace
}  // namespace vallorn
