#include "ui/build_menu_popup.h"

#include <imgui.h>

#include "ui/probe.h"

namespace vallorn {

namespace {

constexpr const char* kPopupId = "##buildmenu";

// Groups of the menu, with a line between them: what builds, what removes, the way out.
bool StartsGroup(const TSKIMenuItem& item) {
    return item.Command == TSKIMenuCommand::Delete || item.Command == TSKIMenuCommand::Cancel;
}

}  // namespace

void TSKIBuildMenuPopup::Open(const TSKIEngine& engine, const TSKIToolState& tools) {
    const TSKIMenuContext context = MenuContext(engine, tools);
    menu_ = BuildMenu(context);
    menuKind_ = context.CellKind;
    cellI_ = tools.CursorI;
    cellJ_ = tools.CursorJ;
    chosen_.reset();
    open_ = requested_ = true;
}

void TSKIBuildMenuPopup::Draw(const TSKIEngine& e, const TSKIToolState& t) {
    if (probe::Enabled()) {
        // What the menu would be opened on, and the park's clock: the GUI tests aim with these.
        probe::Value("cursor_i", t.CursorI);
        probe::Value("cursor_j", t.CursorJ);
        probe::Value("cursor_kind", t.CursorCell.Kind);
        probe::Value("tool_text", t.ToolText);
        probe::Value("slope_nodes", double(t.SlopePath.size()));
        probe::Value("park_time", e.Park.ParkTime);
        probe::Value("park_cash", e.Park.ParkCash);
        probe::Value("park_speed", e.Park.ParkSpeed);
        probe::Value("lift_count", e.LiftCount());
        probe::Value("day_changes", double(e.DayChanges));
        if (open_) probe::Value("menu_kind", menuKind_);
    }
    hovered_.reset();
    if (requested_) {
        ImGui::OpenPopup(kPopupId);
        requested_ = false;
    }
    if (!open_) return;
    if (!ImGui::BeginPopup(kPopupId, ImGuiWindowFlags_NoSavedSettings)) {
        open_ = false;  // closed by a click elsewhere or Escape
        return;
    }
    probe::Window("Build menu");
    DrawItems(menu_);
    if (chosen_) {
        open_ = false;
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

void TSKIBuildMenuPopup::DrawItems(const std::vector<TSKIMenuItem>& items) {
    bool any = false;
    for (const TSKIMenuItem& item : items) {
        if (!item.Visible) continue;
        if (any && StartsGroup(item)) ImGui::Separator();
        any = true;
        const char* caption = item.Caption.c_str();
        if (item.Command == TSKIMenuCommand::None) {
            // A submenu head: its rectangle is known before it opens its own window.
            const ImVec2 at = ImGui::GetCursorScreenPos();
            const float width = ImGui::GetContentRegionAvail().x;
            const bool opened = ImGui::BeginMenu(caption, item.Enabled);
            probe::Item("menu", item.Caption, at.x, at.y, at.x + width,
                        at.y + ImGui::GetTextLineHeight(), item.Enabled);
            if (opened) {
                DrawItems(item.Items);
                ImGui::EndMenu();
            }
            continue;
        }
        // Disabled items (an unaffordable replacement) show greyed with their caption.
        const bool picked = ImGui::MenuItem(caption, nullptr, false, item.Enabled);
        probe::LastItem("menu", item.Caption, item.Enabled);
        if (ImGui::IsItemHovered()) {
            hovered_ =
                THovered{item.Command, item.Tag, ImGui::GetWindowPos().x + ImGui::GetWindowWidth()};
        }
        if (picked && !chosen_) chosen_ = item;
    }
}

std::optional<TSKIBuildMenuPopup::TChosen> TSKIBuildMenuPopup::TakeChosen() {
    if (!chosen_) return std::nullopt;
    TChosen chosen{std::move(*chosen_), cellI_, cellJ_};
    chosen_.reset();
    return chosen;
}

}  // namespace vallorn
