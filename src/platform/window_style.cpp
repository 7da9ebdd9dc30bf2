#include "platform/window_style.h"

#include <array>
#include <filesystem>

#include <imgui.h>

namespace vallorn {

namespace {

constexpr float kBaseFontSize = 16.0f;
constexpr float kHeadingFactor = 1.6f;
constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

struct TFontSlot {
    const char* File;
    float Factor;
};

constexpr std::array<TFontSlot, 6> kSlots = {{
    {"DejaVuSans.ttf", 1.0f},
    {"DejaVuSans-Bold.ttf", 1.0f},
    {"DejaVuSans-Oblique.ttf", 1.0f},
    {"DejaVuSans-BoldOblique.ttf", 1.0f},
    {"DejaVuSansMono.ttf", 1.0f},
    {"DejaVuSans-Bold.ttf", kHeadingFactor},
}};

std::array<ImFont*, 6> gFonts{};
std::array<float, 6> gSizes{};

void LoadFonts(float scale, float pixelRatio) {
    ImGuiIO& io = ImGui::GetIO();
    io.Fonts->Clear();
    static const ImWchar kRanges[] = {0x0020, 0x00FF, 0x0100, 0x017F, 0x2010, 0x205E, 0x20AC,
                                      0x20AC, 0x2190, 0x21FF, 0x25A0, 0x25FF, 0};
    ImFont* fallback = nullptr;
    for (size_t i = 0; i < kSlots.size(); ++i) {
        const float size = kBaseFontSize * scale * kSlots[i].Factor;
        gSizes[i] = size;
        const std::filesystem::path file = std::filesystem::path(kFontFolder) / kSlots[i].File;
        ImFont* font = nullptr;
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            ImFontConfig config;
            config.OversampleH = 2;
            config.OversampleV = 1;
            font = io.Fonts->AddFontFromFileTTF(file.c_str(), size * pixelRatio, &config, kRanges);
        }
        if (!font) {
            if (!fallback) {
                ImFontConfig config;
                config.SizePixels = 13.0f * scale * pixelRatio;
                fallback = io.Fonts->AddFontDefault(&config);
            }
            font = fallback;
        }
        gFonts[i] = font;
    }
    io.FontDefault = gFonts[0];
    io.FontGlobalScale = 1.0f / pixelRatio;
}

void SetColours(ImGuiStyle& style) {
    ImGui::StyleColorsDark(&style);
    ImVec4* c = style.Colors;
    // Opaque: the 3D view is not drawn under the windows.
    const ImVec4 night(0.07f, 0.09f, 0.12f, 1.00f);
    const ImVec4 slate(0.14f, 0.18f, 0.24f, 1.00f);
    const ImVec4 ice(0.26f, 0.48f, 0.68f, 1.00f);
    const ImVec4 iceLight(0.36f, 0.60f, 0.82f, 1.00f);
    c[ImGuiCol_Text] = ImVec4(0.92f, 0.94f, 0.96f, 1.00f);
    c[ImGuiCol_TextDisabled] = ImVec4(0.50f, 0.54f, 0.58f, 1.00f);
    c[ImGuiCol_WindowBg] = night;
    c[ImGuiCol_ChildBg] = ImVec4(0, 0, 0, 0);
    c[ImGuiCol_PopupBg] = ImVec4(0.09f, 0.11f, 0.15f, 1.00f);
    c[ImGuiCol_Border] = ImVec4(0.30f, 0.38f, 0.48f, 0.60f);
    c[ImGuiCol_FrameBg] = slate;
    c[ImGuiCol_FrameBgHovered] = ImVec4(0.20f, 0.27f, 0.36f, 1.00f);
    c[ImGuiCol_FrameBgActive] = ImVec4(0.24f, 0.33f, 0.44f, 1.00f);
    c[ImGuiCol_TitleBg] = ImVec4(0.10f, 0.13f, 0.18f, 1.00f);
    c[ImGuiCol_TitleBgActive] = ImVec4(0.14f, 0.25f, 0.38f, 1.00f);
    c[ImGuiCol_TitleBgCollapsed] = ImVec4(0.10f, 0.13f, 0.18f, 0.75f);
    c[ImGuiCol_MenuBarBg] = ImVec4(0.11f, 0.14f, 0.19f, 1.00f);
    c[ImGuiCol_ScrollbarBg] = ImVec4(0.05f, 0.06f, 0.08f, 0.60f);
    c[ImGuiCol_ScrollbarGrab] = ImVec4(0.28f, 0.34f, 0.42f, 1.00f);
    c[ImGuiCol_CheckMark] = iceLight;
    c[ImGuiCol_SliderGrab] = ice;
    c[ImGuiCol_SliderGrabActive] = iceLight;
    c[ImGuiCol_Button] = ImVec4(0.18f, 0.30f, 0.44f, 1.00f);
    c[ImGuiCol_ButtonHovered] = ice;
    c[ImGuiCol_ButtonActive] = iceLight;
    c[ImGuiCol_Header] = ImVec4(0.18f, 0.30f, 0.44f, 0.80f);
    c[ImGuiCol_HeaderHovered] = ice;
    c[ImGuiCol_HeaderActive] = iceLight;
    c[ImGuiCol_Separator] = ImVec4(0.30f, 0.38f, 0.48f, 0.60f);
    c[ImGuiCol_Tab] = ImVec4(0.14f, 0.22f, 0.32f, 1.00f);
    c[ImGuiCol_TabHovered] = ice;
    c[ImGuiCol_TabActive] = ImVec4(0.22f, 0.38f, 0.56f, 1.00f);
    c[ImGuiCol_PlotHistogram] = ImVec4(0.90f, 0.62f, 0.20f, 1.00f);
    c[ImGuiCol_TextSelectedBg] = ImVec4(0.26f, 0.48f, 0.68f, 0.45f);
    c[ImGuiCol_ModalWindowDimBg] = ImVec4(0.0f, 0.0f, 0.0f, 0.45f);
}

}  // namespace

void ApplyWindowStyle(float scale, float pixelRatio) {
    LoadFonts(scale, pixelRatio);
    ImGuiStyle style;
    SetColours(style);
    style.WindowRounding = 6.0f;
    style.ChildRounding = 4.0f;
    style.FrameRounding = 4.0f;
    style.PopupRounding = 4.0f;
    style.GrabRounding = 3.0f;
    style.ScrollbarRounding = 6.0f;
    style.TabRounding = 4.0f;
    style.WindowPadding = ImVec2(10, 10);
    style.FramePadding = ImVec2(8, 4);
    style.ItemSpacing = ImVec2(8, 6);
    style.WindowTitleAlign = ImVec2(0.5f, 0.5f);
    style.ScaleAllSizes(scale);
    ImGui::GetStyle() = style;
}

ImFont* UiFont(TSKIFontFace face) {
    ImFont* f = gFonts[static_cast<size_t>(face)];
    return f ? f : ImGui::GetFont();
}

float UiFontSize(TSKIFontFace face) {
    const float s = gSizes[static_cast<size_t>(face)];
    return s > 0 ? s : ImGui::GetFontSize();
}

}  // namespace vallorn
