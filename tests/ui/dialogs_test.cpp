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
        gui.Frame(keys[gui.frames], [&] {
            draw();
            // A question asked while a frame is drawn cannot block: it takes its default.
            if (gui.frames == 0) {
                EXPECT_TRUE(self->AskYesNo("Inside the frame", true));
            }
        });
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

}  // namespace
}  // namespace vallorn
