#include "ui/info_windows.h"

#include <algorithm>

#include <imgui.h>

#include "construction/construction_actions.h"
#include "entities/building.h"
#include "entities/section.h"
#include "ui/info_widgets.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

constexpr double kRefreshSeconds = 0.033;
constexpr float kLiftWidth = 329;
constexpr float kSlopeWidth = 329;
constexpr float kBuildingWidth = 329;
constexpr int kReliefPoints = 100;  // one every 3 pixels
constexpr float kReliefHeight = 150;
constexpr float kReliefRight = 10 + 3 * (kReliefPoints - 1) + 10;  // the relief panel's right edge

constexpr float kCaptionWidth = 142;  // the caption column, and where values start
constexpr float kMargin = 6;          // kept free between a window and the display's edges

// A table of caption/value rows; every table of a window has its own `id` and the same
// caption column.
bool FieldTable(const char* id, float scale) {
    if (!ImGui::BeginTable(id, 2, ImGuiTableFlags_SizingFixedFit)) return false;
    const float pad = ImGui::GetStyle().CellPadding.x * 2;
    ImGui::TableSetupColumn("caption", ImGuiTableColumnFlags_WidthFixed,
                            kCaptionWidth * scale - ImGui::GetStyle().WindowPadding.x - pad);
    ImGui::TableSetupColumn("value", ImGuiTableColumnFlags_WidthStretch);
    return true;
}

// The next button on this line when it fits there, else at the start of the next one.
void SameLineFor(const char* caption) {
    const float width =
        ImGui::CalcTextSize(caption, nullptr, true).x + 2 * ImGui::GetStyle().FramePadding.x;
    ImGui::SameLine();
    if (ImGui::GetContentRegionAvail().x < width) ImGui::NewLine();
}

void Button(const char* caption, const char* hint, bool& clicked, float width = 0) {
    clicked = ImGui::Button(caption, ImVec2(width, 0));
    const std::string shown(caption);
    probe::LastItem("button", shown.substr(0, shown.find("##")));
    if (hint && ImGui::IsItemHovered()) ImGui::SetTooltip("%s", hint);
}

// The name field: looks like a text box; a click asks for the new name.
bool NameField(const std::string& name) {
    ImGui::PushStyleColor(ImGuiCol_Button, ImGui::GetStyleColorVec4(ImGuiCol_FrameBg));
    ImGui::PushStyleVar(ImGuiStyleVar_ButtonTextAlign, ImVec2(0, 0.5f));
    const bool clicked =
        ImGui::Button((name + "##name").c_str(), ImVec2(ImGui::GetContentRegionAvail().x, 0));
    probe::LastItem("button", "Name: " + name);
    if (ImGui::IsItemHovered()) ImGui::SetTooltip("Click to rename");
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    return clicked;
}

}  // namespace

TSKIInfoWindows::TWindow& TSKIInfoWindows::Of(TSKIInfoKind kind) {
    return kind == TSKIInfoKind::Lift ? lift_ : kind == TSKIInfoKind::Slope ? slope_ : building_;
}

void TSKIInfoWindows::Bind(const TSKIEngine* engine) {
    engine_ = engine;
    HideAll();
}

void TSKIInfoWindows::HideAll() {
    lift_.Visible = slope_.Visible = building_.Visible = false;
}

bool TSKIInfoWindows::Visible(TSKIInfoKind kind) const {
    return kind == TSKIInfoKind::Lift    ? lift_.Visible
           : kind == TSKIInfoKind::Slope ? slope_.Visible
                                         : building_.Visible;
}

void TSKIInfoWindows::OpenAt(const TerrainCell& cell, float x, float y) {
    if (!engine_) return;
    const TSKIInfoTarget target = PickInfoTarget(*engine_, cell);
    for (TSKIInfoKind kind : {TSKIInfoKind::Lift, TSKIInfoKind::Slope, TSKIInfoKind::Building}) {
        TWindow& w = Of(kind);
        if (target.Kind != kind) {
            w.Visible = false;
            continue;
        }
        w.Visible = true;
        w.Index = target.Index;
        w.Object = kind == TSKIInfoKind::Building
                       ? static_cast<const void*>(engine_->Buildings[target.Index].get())
                       : static_cast<const void*>(engine_->Sections[target.Index].get());
        w.X = x + 5;
        w.Y = y;
        w.Place = 3;
        w.H = 0;
        w.Message.clear();
    }
    Refill();
}

bool TSKIInfoWindows::Resolve(TWindow& w, TSKIInfoKind kind) {
    if (!w.Visible || !engine_) return false;
    auto find = [&](const auto& list) {
        if (w.Index < list.size() && list[w.Index].get() == w.Object) return true;
        for (size_t k = 0; k < list.size(); ++k) {
            if (list[k].get() != w.Object) continue;
            w.Index = k;
            return true;
        }
        return false;
    };
    const bool found =
        kind == TSKIInfoKind::Building ? find(engine_->Buildings) : find(engine_->Sections);
    if (!found) w.Visible = false;
    return found;
}

void TSKIInfoWindows::Refill() {
    if (Resolve(lift_, TSKIInfoKind::Lift)) {
        const TSKISection& s = *engine_->Sections[lift_.Index];
        liftInfo_ = LiftInfo(*engine_, s);
        if (lift_.Relief) liftRelief_ = LiftRelief(*engine_, s, kReliefPoints);
    }
    if (Resolve(slope_, TSKIInfoKind::Slope)) {
        const TSKISection& s = *engine_->Sections[slope_.Index];
        slopeInfo_ = SlopeInfo(*engine_, s);
        if (slope_.Relief) slopeRelief_ = SlopeRelief(*engine_, s, kReliefPoints);
    }
    if (Resolve(building_, TSKIInfoKind::Building)) {
        buildingInfo_ = BuildingInfo(*engine_->Buildings[building_.Index]);
    }
}

void TSKIInfoWindows::Tick(double dt) {
    timer_ -= dt;
    if (timer_ > 0) return;
    timer_ = kRefreshSeconds;
    Refill();
}

void TSKIInfoWindows::Act(TSKIInfoKind kind, TSKIPlayerAction action, bool hideWhenDone) {
    if (!hooks_.AfterFrame || !hooks_.Perform) return;
    hooks_.AfterFrame([this, kind, action = std::move(action), hideWhenDone] {
        TWindow& w = Of(kind);
        if (!engine_ || !Resolve(w, kind)) return;
        const TSKIActionOutcome out = hooks_.Perform(action);
        // A refusal the core shows in an error box is not repeated; others show in the window.
        w.Message =
            out.Result == TSKIActionResult::Refused && !out.Check.ErrorBox ? out.Reason : "";
        if (out.Done() && hideWhenDone) w.Visible = false;
        Refill();
    });
}

void TSKIInfoWindows::AskName(TSKIInfoKind kind) {
    if (!hooks_.AfterFrame || !hooks_.Perform) return;
    hooks_.AfterFrame([this, kind] {
        TWindow& w = Of(kind);
        if (!engine_ || !Resolve(w, kind) || !engine_->Dialogs) return;
        const bool lift = kind == TSKIInfoKind::Lift;
        const std::optional<std::string> name =
            engine_->Dialogs->InputText(lift ? "Change lift name" : "Change slope name",
                                        "Enter name", engine_->Sections[w.Index]->Name);
        if (!name || !Resolve(w, kind)) return;
        const TSKIActionOutcome out = hooks_.Perform(RenameSectionAction(w.Index, *name));
        w.Message =
            out.Result == TSKIActionResult::Refused && !out.Check.ErrorBox ? out.Reason : "";
        Refill();
    });
}

bool TSKIInfoWindows::Begin(TWindow& w, const char* title, float width, float viewW, float viewH,
                            float scale) {
    if (w.Place > 0) {
        // Beside the cursor, then moved left and up onto the screen once its size is known.
        const float h = w.H > 0 ? w.H : 420 * scale;
        const TSKIPlacement at = PlaceOnScreen(w.X, w.Y, width * scale, h, viewW, viewH);
        ImGui::SetNextWindowPos(ImVec2(at.X, at.Y), ImGuiCond_Always);
        --w.Place;
    }
    // As tall as its rows, at most the display's height: then its rows scroll (BeginBody).
    ImGui::SetNextWindowSize(ImVec2(width * scale, 0), ImGuiCond_Always);
    ImGui::SetNextWindowSizeConstraints(ImVec2(width * scale, 0),
                                        ImVec2(width * scale, maxHeight_));
    // Opaque: the figures stay legible over the view and the menu bar.
    ImVec4 bg = ImGui::GetStyleColorVec4(ImGuiCol_WindowBg);
    bg.w = 1.0f;
    ImGui::PushStyleColor(ImGuiCol_WindowBg, bg);
    const bool shown =
        ImGui::Begin(title, &w.Visible,
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                         ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse);
    ImGui::PopStyleColor();
    ImGui::SetWindowFontScale(fontScale_);
    w.BodyDrawn = false;
    if (shown) probe::Window(title);
    w.W = ImGui::GetWindowWidth();
    w.H = ImGui::GetWindowHeight();
    // A window that grew (the relief page) or was dragged off the screen comes back on it.
    const ImVec2 pos = ImGui::GetWindowPos();
    const TSKIPlacement on = PlaceOnScreen(pos.x, pos.y, w.W, w.H, viewW, viewH);
    if (on.X != pos.x || on.Y != pos.y) ImGui::SetWindowPos(ImVec2(on.X, on.Y));
    return shown;
}

void TSKIInfoWindows::End(TWindow& w) {
    if (!w.Message.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1.0f, 0.55f, 0.45f, 1));
        ImGui::TextWrapped("%s", w.Message.c_str());
        probe::LastItem("label", w.Message);
        ImGui::PopStyleColor();
    }
    if (w.BodyDrawn) w.Tail = ImGui::GetCursorPosY() - w.TailTop;
    ImGui::End();
}

void TSKIInfoWindows::BeginBody(TWindow& w) {
    // The rows take what the window's greatest height leaves above the buttons that follow
    // them (as tall as they were drawn last time), and scroll when that is less than they need.
    const ImGuiStyle& st = ImGui::GetStyle();
    const float room = maxHeight_ - ImGui::GetCursorPosY() - w.Tail - st.WindowPadding.y;
    const float wanted = w.Body > 0 ? w.Body : room;
    const float height = std::max(ImGui::GetFrameHeightWithSpacing() * 2, std::min(wanted, room));
    ImGui::BeginChild("body", ImVec2(0, height));
}

void TSKIInfoWindows::EndBody(TWindow& w) {
    w.Body = ImGui::GetCursorPosY();  // the rows' height, whatever the scroll
    ImGui::EndChild();
    w.BodyDrawn = true;
    w.TailTop = ImGui::GetCursorPosY();
}

void TSKIInfoWindows::Draw(float viewWidth, float viewHeight, float scale) {
    if (!engine_) return;
    // The layout's pixels are those of a 13-pixel font: they grow with the font in use (which
    // the display's scale has already made larger).
    scale = std::max(scale, ImGui::GetFontSize() / 13.0f);
    // On a display too narrow for the widest window at that scale, everything shrinks to fit.
    const float widest = std::max(kLiftWidth, kReliefRight + 25);
    fontScale_ = std::clamp((viewWidth - 2 * kMargin) / (widest * scale), 0.25f, 1.0f);
    scale *= fontScale_;
    maxHeight_ = std::max(viewHeight - 2 * kMargin, 100.0f);
    // An object deleted since the last refill closes its window before it is drawn.
    Resolve(lift_, TSKIInfoKind::Lift);
    Resolve(slope_, TSKIInfoKind::Slope);
    Resolve(building_, TSKIInfoKind::Building);
    if (lift_.Visible) DrawLift(viewWidth, viewHeight, scale);
    if (slope_.Visible) DrawSlope(viewWidth, viewHeight, scale);
    if (building_.Visible) DrawBuilding(viewWidth, viewHeight, scale);
}

void TSKIInfoWindows::DrawLift(float viewW, float viewH, float scale) {
    // Wider while the relief shows: its panel's right edge + 25, never below 329.
    const float width = lift_.Relief ? std::max(kLiftWidth, kReliefRight + 25) : kLiftWidth;
    if (!Begin(lift_, "Lift information", width, viewW, viewH, scale)) {
        ImGui::End();
        return;
    }
    probe::Value("lift_window_name", liftInfo_.Name);
    probe::Value("lift_window_index", double(lift_.Index));
    bool relief = false;
    if (ImGui::BeginTabBar("pages")) {
        if (ImGui::BeginTabItem("Information")) {
            DrawLiftPage(scale);
            ImGui::EndTabItem();
        }
        probe::LastItem("tab", "Information");
        if (ImGui::BeginTabItem("Relief")) {
            relief = true;
            if (!lift_.Relief) {
                lift_.Relief = true;
                liftRelief_ = LiftRelief(*engine_, *engine_->Sections[lift_.Index], kReliefPoints);
            }
            info::Relief(liftRelief_, false, kReliefRight * scale, kReliefHeight * scale, scale);
            ImGui::EndTabItem();
        }
        probe::LastItem("tab", "Relief");
        ImGui::EndTabBar();
    }
    lift_.Relief = relief;
    End(lift_);
}

void TSKIInfoWindows::DrawLiftPage(float scale) {
    const TSKILiftInfo& f = liftInfo_;
    const size_t index = lift_.Index;
    BeginBody(lift_);
    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("Name:");
    ImGui::SameLine(kCaptionWidth * scale);
    if (NameField(f.Name)) AskName(TSKIInfoKind::Lift);
    if (FieldTable("fields1", scale)) {
        info::Row("Start station height:", f.StartHeight);
        info::Row("End station height:", f.EndHeight);
        info::Row("Length:", f.Length);
        info::Row("Lift type:", f.Type);
        info::Row("Number of gondolas:", f.Gondolas);
        info::Row("Number of pasangers:", f.Passengers);
        info::Row("Cue line:", f.Queue);
        ImGui::EndTable();
    }
    ImGui::Separator();
    // The status button: open and closed; a broken-down lift only says so.
    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("Status:");
    ImGui::SameLine(kCaptionWidth * scale);
    const ImVec4 tint = f.Status == kLiftOpen     ? ImVec4(0.18f, 0.45f, 0.25f, 1)
                        : f.Status == kLiftClosed ? ImVec4(0.5f, 0.22f, 0.2f, 1)
                                                  : ImVec4(0.35f, 0.35f, 0.38f, 1);
    ImGui::PushStyleColor(ImGuiCol_Button, tint);
    ImGui::BeginDisabled(f.Status == kLiftBroken);
    bool clicked = false;
    Button((f.StatusText + "##status").c_str(), "Open or close the lift", clicked, 110 * scale);
    ImGui::EndDisabled();
    ImGui::PopStyleColor();
    if (clicked)
        Act(TSKIInfoKind::Lift, MovingBeams(SetLiftOpenAction(index, f.Status != kLiftOpen)));

    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("Ticket price:");
    ImGui::SameLine(kCaptionWidth * scale);
    if (const int step = info::PriceStepper(f.Price, scale))
        Act(TSKIInfoKind::Lift, StepLiftPriceAction(index, step));
    ImGui::SetCursorPosX(kCaptionWidth * scale);
    Button("All lifts", "Copy this ticket price to every lift", clicked);
    if (clicked) Act(TSKIInfoKind::Lift, CopyLiftPriceAction(index, false));
    SameLineFor("All of this type");
    Button("All of this type", "Copy this ticket price to every lift of this type", clicked);
    if (clicked) Act(TSKIInfoKind::Lift, CopyLiftPriceAction(index, true));

    if (FieldTable("fields2", scale)) {
        info::Row("Running cost:", f.RunningCost);
        info::Row("Total income:", f.Income);
        info::Row("Total expense:", f.Expense);
        info::Row("Balance:", f.Balance);
        info::Row("Service too expensive:", f.TooExpensive);
        info::Row("Customers served:", f.Served);
        info::Row("Construction cost:", f.Invested);
        ImGui::TableNextRow();
        ImGui::TableSetColumnIndex(0);
        ImGui::TextDisabled("Service quality:");
        ImGui::TableSetColumnIndex(1);
        info::QualityBar(f.Quality, f.QualityText, scale);
        probe::Value("lift_window_quality", f.QualityText);
        ImGui::EndTable();
    }
    EndBody(lift_);
    ImGui::Separator();
    Button("Upgrade", "Increase lift speed and skier satisfaction", clicked);
    if (clicked) Act(TSKIInfoKind::Lift, MovingBeams(UpgradeLiftAction(index)));
    SameLineFor("View");
    Button("View", "Move the view to the lift", clicked);
    if (clicked && hooks_.Goto) {
        const TSKISection& s = *engine_->Sections[index];
        TSKIVector p =
            s.Points.empty() ? engine_->CellToWorld(s.LowerI, s.LowerJ, true) : s.Points.front();
        hooks_.Goto(p);
    }
    SameLineFor("Delete lift");
    Button("Delete lift", "Demolish the lift", clicked);
    if (clicked) Act(TSKIInfoKind::Lift, DeleteSectionAction(index), true);
}

void TSKIInfoWindows::DrawSlope(float viewW, float viewH, float scale) {
    if (!Begin(slope_, "Slope information", kSlopeWidth, viewW, viewH, scale)) {
        ImGui::End();
        return;
    }
    const TSKISlopeInfo& f = slopeInfo_;
    const size_t index = slope_.Index;
    probe::Value("slope_window_name", f.Name);
    bool relief = false;
    if (ImGui::BeginTabBar("pages")) {
        if (ImGui::BeginTabItem("Information")) {
            BeginBody(slope_);
            ImGui::AlignTextToFramePadding();
            ImGui::TextDisabled("Name:");
            ImGui::SameLine(kCaptionWidth * scale);
            if (NameField(f.Name)) AskName(TSKIInfoKind::Slope);
            if (FieldTable("fields3", scale)) {
                info::Row("Start height:", f.StartHeight);
                info::Row("End height:", f.EndHeight);
                info::Row("Length:", f.Length);
                ImGui::TableNextRow();
                ImGui::TableSetColumnIndex(0);
                ImGui::TextDisabled("Difficulty:");
                ImGui::TableSetColumnIndex(1);
                info::DifficultySign(f.Difficulty, ImGui::GetTextLineHeight());
                ImGui::SameLine();
                // The name in a lighter shade of the slope's colour (legible on the dark
                // window; black is written light grey, its sign and name tell it).
                static const ImU32 kText[3] = {IM_COL32(110, 170, 255, 255),
                                               IM_COL32(255, 115, 105, 255),
                                               IM_COL32(210, 210, 210, 255)};
                ImGui::PushStyleColor(ImGuiCol_Text, kText[std::min<int>(f.Difficulty, 2)]);
                ImGui::TextUnformatted(f.DifficultyText.c_str());
                ImGui::PopStyleColor();
                probe::LastItem("label", "Difficulty: " + f.DifficultyText);
                info::Row("", f.Shares);
                info::Row("Best time:", f.BestTime);
                ImGui::EndTable();
            }
            EndBody(slope_);
            ImGui::Separator();
            bool clicked = false;
            Button("Downhill race", "Race down this slope against the clock", clicked);
            if (clicked) {
                if (hooks_.DownhillRace) hooks_.DownhillRace(index);
                slope_.Visible = false;
            }
            SameLineFor("View");
            Button("View", "Move the view to the slope", clicked);
            if (clicked && hooks_.Goto && !engine_->Sections[index]->Points.empty())
                hooks_.Goto(engine_->Sections[index]->Points.front());
            SameLineFor("Delete slope");
            Button("Delete slope", "Demolish the slope", clicked);
            if (clicked) Act(TSKIInfoKind::Slope, DeleteSectionAction(index), true);
            ImGui::EndTabItem();
        }
        probe::LastItem("tab", "Information");
        if (ImGui::BeginTabItem("Relief")) {
            relief = true;
            if (!slope_.Relief) {
                slope_.Relief = true;
                slopeRelief_ = SlopeRelief(*engine_, *engine_->Sections[index], kReliefPoints);
            }
            info::Relief(slopeRelief_, true, ImGui::GetContentRegionAvail().x,
                         kReliefHeight * scale, scale);
            ImGui::EndTabItem();
        }
        probe::LastItem("tab", "Relief");
        ImGui::EndTabBar();
    }
    slope_.Relief = relief;
    End(slope_);
}

void TSKIInfoWindows::DrawBuilding(float viewW, float viewH, float scale) {
    if (!Begin(building_, "Building information", kBuildingWidth, viewW, viewH, scale)) {
        ImGui::End();
        return;
    }
    const TSKIBuildingInfo& f = buildingInfo_;
    const size_t index = building_.Index;
    probe::Value("building_window_type", f.Type);
    BeginBody(building_);
    if (FieldTable("fields4", scale)) {
        info::Row("Building type:", f.Type);
        ImGui::EndTable();
    }
    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("Status:");
    ImGui::SameLine(kCaptionWidth * scale);
    ImGui::PushStyleColor(ImGuiCol_Button,
                          f.Open ? ImVec4(0.18f, 0.45f, 0.25f, 1) : ImVec4(0.5f, 0.22f, 0.2f, 1));
    bool clicked = false;
    Button(f.Open ? "Opened##status" : "Closed##status", "Open or close the building", clicked,
           110 * scale);
    ImGui::PopStyleColor();
    if (clicked) Act(TSKIInfoKind::Building, MovingBeams(SetBuildingOpenAction(index, !f.Open)));
    if (FieldTable("fields5", scale)) {
        info::Row("Capacity:", f.Capacity);
        info::Row("Occupancy:", f.Occupancy);
        info::Row("Services:", f.Services);
        ImGui::EndTable();
    }
    ImGui::Separator();
    ImGui::AlignTextToFramePadding();
    ImGui::TextDisabled("Service price:");
    ImGui::SameLine(kCaptionWidth * scale);
    if (const int step = info::PriceStepper(f.Price, scale))
        Act(TSKIInfoKind::Building, StepBuildingPriceAction(index, step));
    DrawBuildingButtons(scale);
    End(building_);
}

void TSKIInfoWindows::DrawBuildingButtons(float scale) {
    const TSKIBuildingInfo& f = buildingInfo_;
    const size_t index = building_.Index;
    bool clicked = false;
    if (f.HasPrice) {
        Button("All restaurants", "Copy this price to every restaurant", clicked);
        if (clicked) Act(TSKIInfoKind::Building, CopyBuildingPriceAction(index, false));
        SameLineFor("All of this type");
        Button("All of this type", "Copy this price to every building of this type", clicked);
        if (clicked) Act(TSKIInfoKind::Building, CopyBuildingPriceAction(index, true));
    }
    if (FieldTable("fields6", scale)) {
        info::Row("Customers served:", f.Served);
        info::Row("Running cost:", f.RunningCost);
        info::Row("Total income:", f.Income);
        info::Row("Total expense:", f.Expense);
        info::Row("Balance:", f.Balance);
        info::Row("Service too expensive:", f.TooExpensive);
        ImGui::TableNextRow();
        ImGui::TableSetColumnIndex(0);
        ImGui::TextDisabled("Service quality:");
        ImGui::TableSetColumnIndex(1);
        info::QualityBar(f.Quality, f.QualityText, scale);
        ImGui::EndTable();
    }
    EndBody(building_);
    ImGui::Separator();
    if (f.IsGarage) {
        Button("Set target", "Choose the area the snowcats groom", clicked);
        if (clicked && hooks_.SetTarget) {
            hooks_.SetTarget(index);
            building_.Visible = false;
        }
        SameLineFor("Upgrade");
    }
    Button("Upgrade", "Increase service quality", clicked);
    if (clicked) Act(TSKIInfoKind::Building, MovingBeams(UpgradeBuildingAction(index)));
    SameLineFor("View");
    Button("View", "Move the view to the building", clicked);
    if (clicked && hooks_.Goto) hooks_.Goto(engine_->Buildings[index]->Position);
    SameLineFor("Delete building");
    Button("Delete building", "Demolish the building", clicked);
    if (clicked) Act(TSKIInfoKind::Building, DeleteBuildingAction(index), true);
}

}  // namespace vallorn
