// Small pieces the editor window's pages share.
#pragma once

#include <imgui.h>

#include "engine/engine.h"
#include "ui/probe.h"

namespace vallorn::editor_ui {

// A button the GUI tests can find by its caption.
inline bool Button(const char* label) {
    const bool pressed = ImGui::Button(label);
    probe::LastItem("button", label);
    return pressed;
}

// The cell of the camera's focus point (where the editor's marker stands).
inline void FocusCell(const TSKIEngine& e, int& i, int& j) {
    TSKIWorld::WorldToCell(TSKIVector(e.Viewpoint.FocusX, 0, e.Viewpoint.FocusZ, 1), i, j);
}

}  // namespace vallorn::editor_ui
