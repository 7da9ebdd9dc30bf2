#include "ui/dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <imgui.h>
#include <imgui_internal.h>

#include "ui/day_report.h"
#include "ui/probe.h"
#include "ui/text_lists.h"

namespace vallorn {

namespace {

bool KeyPressed(ImGuiKey key) {
    return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), false);
}

bool EnterPressed() {
    return KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter);
}

// A button of the box's row, reported to the probe.
bool BoxButton(const char* label) {
    const bool pressed = ImGui::Button(label, ImVec2(6.0f * ImGui::GetFontSize(), 0));
    probe::LastItem("button", label);
    return pressed;
}

// Places a row of `count` buttons at the right edge of the box.
void AlignButtons(int count, float minWidth) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float width = count * 6.0f * ImGui::GetFontSize() + (count - 1) * style.ItemSpacing.x;
    const float avail = std::max(ImGui::GetContentRegionAvail().x, minWidth);
    if (avail > width) ImGui::SetCursorPosX(ImGui::GetCursorPosX() + avail - width);
}

}  // namespace

struct TSKIGameDialogs::TBox {
    enum class Kind { Message, YesNo, Input, DayReport };
    Kind kind = Kind::Message;
    std::string title, text;
    char input[256] = {};
    TSKIDayReport report;
    bool answer = false;  // Yes / OK
    bool done = false;
    int serial = 0;
    int framesShown = 0;  // keys count from the second frame: the key that asked is not the answer
};

TSKIGameDialogs::TSKIGameDialogs(TFrame frame) : frame_(std::move(frame)) {}

TSKIGameDialogs::~TSKIGameDialogs() = default;

bool TSKIGameDialogs::InFrame() {
    const ImGuiContext* g = ImGui::GetCurrentContext();
    return g && g->WithinFrameScope;
}

bool TSKIGameDialogs::Run(TBox& box, bool defaultAnswer) {
    if (!frame_) return defaultAnswer;
    if (InFrame()) {
        // A box cannot start a frame inside another. A message waits for the end of the
        // frame; a question cannot, and asking one here is the program's fault.
        if (box.kind == TBox::Kind::Message || box.kind == TBox::Kind::DayReport) {
            waiting_.push_back(std::make_unique<TBox>(box));
            return defaultAnswer;
        }
        std::fprintf(stderr, "vallorn: a question was asked while a frame was drawn: %s\n",
                     box.text.c_str());
        // At once: the park's state is not to be trusted to the exit handlers.
        if (strict_) std::_Exit(kQuestionInFrameStatus);
        return defaultAnswer;
    }
    box.serial = ++serial_;
    stack_.push_back(&box);
    ++depth_;
    while (!box.done) {
        if (!frame_([this] { DrawFrom(0); })) {
            box.answer = defaultAnswer;  // the window is closing
            break;
        }
    }
    --depth_;
    stack_.erase(std::find(stack_.begin(), stack_.end(), &box));
    const bool answer = box.answer;
    ShowWaiting();
    return answer;
}

void TSKIGameDialogs::ShowWaiting() {
    if (depth_ > 0 || InFrame()) return;
    while (!waiting_.empty()) {
        std::unique_ptr<TBox> box = std::move(waiting_.front());
        waiting_.pop_front();
        Run(*box, true);
    }
}

void TSKIGameDialogs::DrawFrom(size_t level) {
    if (level >= stack_.size()) return;
    TBox& box = *stack_[level];
    const std::string id = box.title + "##box" + std::to_string(box.serial);
    if (!ImGui::IsPopupOpen(id.c_str())) ImGui::OpenPopup(id.c_str());
    const ImGuiViewport* view = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(view->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;
    if (!ImGui::BeginPopupModal(id.c_str(), nullptr, flags)) return;
    probe::Window(box.title);
    const bool top = level + 1 == stack_.size();
    if (top) probe::Value("box_text", box.text);
    if (top && box.kind == TBox::Kind::Input) probe::Value("box_input", std::string(box.input));
    DrawBody(box, top);
    if (top) {
        ++box.framesShown;
        if (box.done) ImGui::CloseCurrentPopup();
    } else {
        DrawFrom(level + 1);
    }
    ImGui::EndPopup();
}

void TSKIGameDialogs::DrawBody(TBox& box, bool top) {
    const float em = ImGui::GetFontSize();
    const bool keys = top && box.framesShown > 0;
    bool ok = false, cancel = false;
    switch (box.kind) {
        case TBox::Kind::Message:
        case TBox::Kind::YesNo: {
            ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + 26.0f * em);
            ImGui::TextUnformatted(box.text.c_str());
            ImGui::PopTextWrapPos();
            ImGui::Spacing();
            if (box.kind == TBox::Kind::Message) {
                AlignButtons(1, 0);
                ok = BoxButton("OK");
                if (keys && (EnterPressed() || KeyPressed(ImGuiKey_Escape))) ok = true;
            } else {
                AlignButtons(2, 0);
                ok = BoxButton("Yes");
                ImGui::SameLine();
                cancel = BoxButton("No");
                if (keys && EnterPressed()) ok = true;
                if (keys && KeyPressed(ImGuiKey_Escape)) cancel = true;
            }
            break;
        }
        case TBox::Kind::Input: {
            if (!box.text.empty()) ImGui::TextUnformatted(box.text.c_str());
            if (box.framesShown == 0) ImGui::SetKeyboardFocusHere();
            ImGui::SetNextItemWidth(22.0f * em);
            if (ImGui::InputText("##input", box.input, sizeof box.input,
                                 ImGuiInputTextFlags_EnterReturnsTrue) &&
                keys) {
                ok = true;
            }
            ImGui::Spacing();
            AlignButtons(2, 22.0f * em);
            ok = BoxButton("OK") || ok;
            ImGui::SameLine();
            cancel = BoxButton("Cancel");
            if (keys && EnterPressed()) ok = true;
            if (keys && KeyPressed(ImGuiKey_Escape)) cancel = true;
            break;
        }
        case TBox::Kind::DayReport:
            ok = DrawDayReport(box.report);
            if (keys && (EnterPressed() || KeyPressed(ImGuiKey_Escape))) ok = true;
            break;
    }
    if (!top) return;
    if (ok) {
        box.answer = true;
        box.done = true;
    } else if (cancel) {
        box.answer = false;
        box.done = true;
    }
}

void TSKIGameDialogs::ShowError(const std::string& text) {
    TBox box;
    box.title = "Error";
    box.text = LineBreaks(text);
    Run(box, true);
}

void TSKIGameDialogs::ShowInformation(const std::string& text) {
    TBox box;
    box.title = "Information";
    box.text = text;
    Run(box, true);
}

bool TSKIGameDialogs::AskYesNo(const std::string& text, bool defaultAnswer) {
    TBox box;
    box.kind = TBox::Kind::YesNo;
    box.title = "Confirm";
    box.text = LineBreaks(text);
    return Run(box, defaultAnswer);
}

std::optional<std::string> TSKIGameDialogs::InputText(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& initial) {
    TBox box;
    box.kind = TBox::Kind::Input;
    box.title = caption.empty() ? "Input" : caption;
    box.text = prompt;
    const size_t n = std::min(initial.size(), sizeof box.input - 1);
    std::copy_n(initial.begin(), n, box.input);
    // Closing the window keeps what was typed, as the headless default keeps the initial text.
    if (!Run(box, true)) return std::nullopt;
    return std::string(box.input);
}

void TSKIGameDialogs::ShowDayReport(const TSKIParkData& start, const TSKIParkData& end,
                                    int happySkiers) {
    if (!engine_) return;
    TBox box;
    box.kind = TBox::Kind::DayReport;
    box.title = "End of the day report";
    box.report = MakeDayReport(*engine_, start, end, happySkiers);
    Run(box, true);
}

void TSKIGameDialogs::SetBusyCursor(bool busy) {
    if (BusyCursor) BusyCursor(busy);
}

}  // namespace vallorn
