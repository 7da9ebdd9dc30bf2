#include "ui/menu_bar.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdint>

#include <imgui.h>

#include "engine/engine.h"
#include "presentation/gl.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

struct TButtonInfo {
    const char* Picture;  // NAME of NAME.bmp and NAMEON.bmp
    const char* Hint;
    const char* Caption;  // written below the picture
};

constexpr std::array<TButtonInfo, size_t(TSKIMenuButton::Count)> kButtons{{
    {"home", "Game", "Game menu"},
    {"display", "Display options", "Display"},
    {"stats", "Statistics", "Statistics"},
    {"objectives", "Objectives", "Objectives"},
    {"help", "Help", "Help"},
    {"pause", "Pause", "Pause"},
    {"speed1", "1 x", "1 x"},
    {"speed2", "2 x", "2 x"},
    {"speed4", "4 x", "4 x"},
}};

bool LoadTexture(const std::filesystem::path& file, gl::TTexture& texture) {
    int w = 0, h = 0, channels = 0;
    uint8_t* pixels = stbi_load(file.string().c_str(), &w, &h, &channels, 4);
    if (!pixels) return false;
    texture.UploadRgba(w, h, pixels, false, false);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

struct TSKIMenuBar::TPictures {
    gl::TTexture Plain, On;
};

float ButtonSpeed(TSKIMenuButton button) {
    switch (button) {
        case TSKIMenuButton::Pause:
            return 0.0f;
        case TSKIMenuButton::Speed1:
            return 1.0f;
        case TSKIMenuButton::Speed2:
            return 2.0f;
        case TSKIMenuButton::Speed4:
            return 4.0f;
        default:
            return -1.0f;
    }
}

TSKIMenuBar::TSKIMenuBar() = default;
TSKIMenuBar::~TSKIMenuBar() = default;

void TSKIMenuBar::LoadPictures(const std::filesystem::path& dataFolder) {
    for (size_t i = 0; i < kButtons.size(); ++i) {
        auto pictures = std::make_unique<TPictures>();
        const std::string name = kButtons[i].Picture;
        if (LoadTexture(dataFolder / (name + ".bmp"), pictures->Plain) &&
            LoadTexture(dataFolder / (name + "ON.bmp"), pictures->On)) {
            pictures_[i] = std::move(pictures);
        } else {
            pictures_[i].reset();
        }
    }
}

void TSKIMenuBar::PressSpeed(TSKIEngine& engine, TSKIMenuButton button) {
    const float speed = ButtonSpeed(button);
    if (speed < 0) return;
    engine.Park.ParkSpeed = speed;
    for (auto b : {TSKIMenuButton::Pause, TSKIMenuButton::Speed1, TSKIMenuButton::Speed2,
                   TSKIMenuButton::Speed4}) {
        state_[size_t(b)] = b == button;
    }
}

TSKIMenuBar::TClicks TSKIMenuBar::Draw(TSKIEngine& engine, const std::string& cashText, float scale,
                                       const TSKIRect& place, bool arrange) {
    TClicks clicks;
    if (!Visible) return clicks;
    // The speed buttons follow the park's speed, whoever set it.
    for (auto b : {TSKIMenuButton::Pause, TSKIMenuButton::Speed1, TSKIMenuButton::Speed2,
                   TSKIMenuButton::Speed4}) {
        state_[size_t(b)] = engine.Park.ParkSpeed == ButtonSpeed(b);
    }
    ImGui::SetNextWindowPos(ImVec2(place.X, place.Y), arrange ? ImGuiCond_Always : ImGuiCond_Once);
    const std::string title =
        (engine.GameCaption.empty() ? std::string("Main menu") : engine.GameCaption) +
        "###MainMenu";
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                   ImGuiWindowFlags_NoFocusOnAppearing;
    if (ImGui::Begin(title.c_str(), nullptr, flags)) {
        probe::Window("Main menu");
        ImGui::SetWindowFontScale(1.25f);
        ImGui::TextUnformatted(cashText.c_str());
        ImGui::SetWindowFontScale(1.0f);
        probe::LastItem("label", cashText);

        const float side = 40.0f * scale;
        const float cell = 72.0f * scale;
        for (size_t i = 0; i < kButtons.size(); ++i) {
            const TButtonInfo& info = kButtons[i];
            const auto button = TSKIMenuButton(i);
            if (i > 0) ImGui::SameLine();
            if (button == TSKIMenuButton::Pause) {  // a gap between windows and speeds
                ImGui::Dummy(ImVec2(8 * scale, 1));
                ImGui::SameLine();
            }
            ImGui::BeginGroup();
            ImGui::PushID(int(i));
            bool pressed = false;
            const ImVec2 framePad = ImGui::GetStyle().FramePadding;
            const float buttonWidth = side + 2 * framePad.x;
            if (pictures_[i]) {
                // The picture centred in its cell, the caption below it.
                const float x = ImGui::GetCursorPosX();
                ImGui::SetCursorPosX(x + (cell - buttonWidth) / 2);
                const gl::TTexture& t = state_[i] ? pictures_[i]->Plain : pictures_[i]->On;
                pressed = ImGui::ImageButton(ImTextureID(intptr_t(t.Id())), ImVec2(side, side));
                probe::LastItem("button", info.Hint);
                if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", info.Hint);
                const float textWidth = ImGui::CalcTextSize(info.Caption).x;
                ImGui::SetCursorPosX(x + std::max(0.0f, (cell - textWidth) / 2));
                ImGui::TextUnformatted(info.Caption);
            } else {
                // Without its pictures a button is its caption, lit while active.
                const bool on = state_[i];
                if (on) {
                    ImGui::PushStyleColor(ImGuiCol_Button,
                                          ImGui::GetStyleColorVec4(ImGuiCol_ButtonActive));
                }
                const float width =
                    std::max(cell, ImGui::CalcTextSize(info.Caption).x + 2 * framePad.x);
                pressed = ImGui::Button(
                    info.Caption,
                    ImVec2(width, side + 2 * framePad.y + ImGui::GetTextLineHeightWithSpacing()));
                if (on) ImGui::PopStyleColor();
                probe::LastItem("button", info.Hint);
                if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", info.Hint);
            }
            ImGui::Dummy(ImVec2(cell, 0));
            ImGui::PopID();
            ImGui::EndGroup();
            if (!pressed) continue;
            if (ButtonSpeed(button) >= 0) {
                PressSpeed(engine, button);
            } else {
                state_[i] = !state_[i];
                if (button == TSKIMenuButton::Help) clicks.Help = true;
                if (button == TSKIMenuButton::Game) clicks.Game = true;
                if (button == TSKIMenuButton::Objectives) clicks.Objectives = true;
                if (button == TSKIMenuButton::Stats) clicks.Stats = true;
                if (button == TSKIMenuButton::Display) clicks.Display = true;
            }
        }
        // The message strip wraps at the right edge of the button row.
        const float rowRight = ImGui::GetItemRectMax().x - ImGui::GetWindowPos().x;
        if (engine.Options.Edit) {
            // Pressed while the editor is open, raised again when it closes.
            ImGui::SameLine();
            const bool editing = engine.EditorOpen;
            if (editing) {
                ImGui::PushStyleColor(ImGuiCol_Button,
                                      ImGui::GetStyleColorVec4(ImGuiCol_ButtonActive));
            }
            if (ImGui::Button("Edit", ImVec2(0, side))) clicks.Edit = true;
            if (editing) ImGui::PopStyleColor();
            probe::LastItem("button", "Edit");
        }
        if (engine.MessageStripVisible && !engine.ShownParkMessage.empty()) {
            ImGui::Separator();
            ImGui::PushTextWrapPos(rowRight);
            ImGui::TextUnformatted(engine.ShownParkMessage.c_str());
            ImGui::PopTextWrapPos();
            probe::LastItem("label", engine.ShownParkMessage);
        }
        const ImVec2 pos = ImGui::GetWindowPos(), size = ImGui::GetWindowSize();
        size_ = {pos.x, pos.y, size.x, size.y};
    }
    ImGui::End();
    return clicks;
}

}  // namespace vallorn
