// An ImGui context without a display for the interface's tests: a 1024 x 768 screen, 30
// frames a second and a built font atlas; frames are built and thrown away.
#pragma once

#include <imgui.h>

namespace vallorn::test {

class THeadlessImGui {
public:
    THeadlessImGui() {
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(1024, 768);
        io.DeltaTime = 1.0f / 30;
        unsigned char* pixels;
        int w, h;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    }
    ~THeadlessImGui() { ImGui::DestroyContext(); }
    THeadlessImGui(const THeadlessImGui&) = delete;
    THeadlessImGui& operator=(const THeadlessImGui&) = delete;
};

}  // namespace vallorn::test
