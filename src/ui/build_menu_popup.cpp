#include "ui/build_menu_popup.h"

#include <imgui.h>

#include "engine/player_actions.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

constexpr const char* kPopupId = "##buildmenu";

// Groups of the menu, with a line between them: what builds, what removes, the way out.
bool StartsGroup(const TSKIMenuItem& item) {
    return item.Command == TSKIMenuCommand::Delete || item.Command == TSKIMenuCommand::Cancel;
}

}  // namespace

void TSKIBuildMenuPopup::Open(TSKIConstruction& tools) {
    menu_ = BuildMenu(MenuContext(tools.Engine, tools.State));
    cellI_ = tools.State.CursorI;
    cellJ_ = tools.State.CursorJ;
    chosen_.reset();
    open_ = requested_ = true;
}

void TSKIBuildMenuPopup::Draw(TSKIConstruction& tools) {
    (void)tools;
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
        if (picked && !chosen_) chosen_ = item;
    }
}

bool TSKIBuildMenuPopup::PerformChosen(TSKIConstruction& tools) {
    if (!chosen_) return false;
    const TSKIMenuItem item = std::move(*chosen_);
    chosen_.reset();
    TSKIToolState& state = tools.State;
    if (state.CursorI != cellI_ || state.CursorJ != cellJ_) {
        state.CursorI = cellI_;
        state.CursorJ = cellJ_;
        if (tools.Engine.HasGrid()) state.CursorCell = tools.Engine.Cell(cellI_, cellJ_);
    }
    PerformAction(tools.Engine, MenuItemAction(tools, item));
    return true;
}

}  // namespace vallorn
