#include "ui/menu_bar.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <imgui.h>

#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/snow.h"
#include "presentation/gl.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

struct TButtonInfo {
    const char* Picture;  // NAME of NAME.bmp and NAMEON.bmp
    const char* Hint;
    const char* Key;      // the key that does the same, named in the hint
    const char* Caption;  // written below the picture
};

constexpr std::array<TButtonInfo, size_t(TSKIMenuButton::Count)> kButtons{{
    {"home", "Game", nullptr, "Game menu"},
    {"display", "Display options", nullptr, "Display"},
    {"stats", "Statistics", nullptr, "Statistics"},
    {"objectives", "Objectives", nullptr, "Objectives"},
    {"help", "Help", nullptr, "Help"},
    {"pause", "Pause", "Space", "Pause"},
    {"speed1", "1 x", "F1", "1 x"},
    {"speed2", "2 x", "F2", "2 x"},
    {"speed4", "4 x", "F3", "4 x"},
}};
constexpr size_t kWindowButtons = 5;  // Game .. Help; the speed buttons follow

// How the buttons are laid out: `Columns` buttons a row at most (the window buttons and the
// speed buttons each start a row of their own unless all fit in one), everything `Shrink`
// times its size at the interface's scale.
struct TBarLayout {
    size_t Columns = kButtons.size();
    float Shrink = 1.0f;
};

// The sizes of the bar at the interface's scale (Shrink 1) that its layout depends on.
struct TBarMetrics {
    float Side = 0;        // a picture's side
    float Cell = 0;        // a button's cell: the picture's, or its caption's when wider
    float TextHeight = 0;  // a line of text
    float CashHeight = 0;  // the cash's line (a larger type)
    float Gap = 0;         // between the window buttons and the speed buttons in one row
    float EditWidth = 0;   // the editor's button, 0 without it
    float InfoWidth[3]{};  // the cash, the date and the weather
    float StripLines = 0;  // lines reserved for the message strip
};

size_t Rows(size_t buttons, size_t columns) {
    return (buttons + columns - 1) / columns;
}

// The bar's content size (without the title bar) in a layout.
ImVec2 BarContentSize(const TBarMetrics& m, const TBarLayout& l, const ImGuiStyle& st) {
    const float k = l.Shrink;
    const float cell = m.Cell * k;
    const bool oneRow = l.Columns >= kButtons.size();
    const size_t rows = oneRow ? 1
                               : Rows(kWindowButtons, l.Columns) +
                                     Rows(kButtons.size() - kWindowButtons, l.Columns);
    const size_t perRow = oneRow ? kButtons.size() : std::min(l.Columns, kWindowButtons);
    float width = float(perRow) * cell + float(perRow - 1) * st.ItemSpacing.x;
    if (oneRow) width += m.Gap * k + st.ItemSpacing.x;
    // The editor's button ends the last row.
    const size_t lastRow =
        oneRow ? kButtons.size() : (kButtons.size() - kWindowButtons - 1) % l.Columns + 1;
    const float lastRowWidth = oneRow ? width : float(lastRow) * (cell + st.ItemSpacing.x);
    if (m.EditWidth > 0) width = std::max(width, lastRowWidth + m.EditWidth * k);
    // The cash, the date and the weather share lines as far as they fit the width.
    float lines = 1, x = m.InfoWidth[0] * k;
    for (size_t i = 1; i < 3; ++i) {
        const float w = m.InfoWidth[i] * k;
        if (x + st.ItemSpacing.x * 2 + w <= width) {
            x += st.ItemSpacing.x * 2 + w;
        } else {
            lines += 1;
            x = w;
        }
        width = std::max(width, w);
    }
    // A picture, its caption and the spacing after each (a row ends with an empty line).
    const float row = m.Side * k + 2 * st.FramePadding.y + m.TextHeight * k + 3 * st.ItemSpacing.y;
    const float height = m.CashHeight * k + st.ItemSpacing.y +
                         (lines - 1) * (m.TextHeight * k + st.ItemSpacing.y) + float(rows) * row +
                         m.StripLines * (m.TextHeight * k + st.ItemSpacing.y);
    return ImVec2(width + 2 * st.WindowPadding.x, height + 2 * st.WindowPadding.y);
}

// The largest layout that fits: one row, then rows of five, four, three and two buttons, each
// at full size, then the same a little smaller, and so on (a bar of a row of smaller pictures
// rather than one that hides much of the view).
TBarLayout FitBar(const TBarMetrics& m, const ImGuiStyle& st, float titleHeight, float maxWidth,
                  float maxHeight) {
    TBarLayout l;
    for (float k = 1.0f; k > 0.2f; k *= 0.9f) {
        for (size_t columns : {kButtons.size(), kWindowButtons, size_t(4), size_t(3), size_t(2)}) {
            l = {columns, k};
            const ImVec2 size = BarContentSize(m, l, st);
            if (size.x <= maxWidth && size.y + titleHeight <= maxHeight) return l;
        }
    }
    return l;  // the smallest: a display this small shows what it can
}

// A small picture of the weather at the cursor, `size` high: a snowflake while it snows, a
// sun while the snow melts.
void WeatherIcon(bool snowing, float size) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const ImVec2 c(at.x + size * 0.5f, at.y + size * 0.5f);
    const float r = size * 0.45f;
    ImDrawList* dl = ImGui::GetWindowDrawList();
    if (snowing) {
        const ImU32 ice = IM_COL32(200, 230, 255, 255);
        const float thick = std::max(1.0f, size / 10);
        for (int k = 0; k < 3; ++k) {
            const float a = float(k) * 3.14159265f / 3 + 3.14159265f / 2;
            const ImVec2 d(std::cos(a) * r, std::sin(a) * r);
            dl->AddLine(ImVec2(c.x - d.x, c.y - d.y), ImVec2(c.x + d.x, c.y + d.y), ice, thick);
            // The little branches near each end.
            for (float end : {-1.0f, 1.0f}) {
                const ImVec2 tip(c.x + d.x * end * 0.6f, c.y + d.y * end * 0.6f);
                for (float turn : {-0.6f, 0.6f}) {
                    const float b = a + (end < 0 ? 3.14159265f : 0) + turn;
                    dl->AddLine(
                        tip,
                        ImVec2(tip.x + std::cos(b) * r * 0.35f, tip.y + std::sin(b) * r * 0.35f),
                        ice, thick);
                }
            }
        }
    } else {
        const ImU32 sun = IM_COL32(255, 205, 60, 255);
        dl->AddCircleFilled(c, r * 0.5f, sun, 16);
        for (int k = 0; k < 8; ++k) {
            const float a = float(k) * 3.14159265f / 4;
            const ImVec2 d(std::cos(a), std::sin(a));
            dl->AddLine(ImVec2(c.x + d.x * r * 0.68f, c.y + d.y * r * 0.68f),
                        ImVec2(c.x + d.x * r, c.y + d.y * r), sun, std::max(1.0f, size / 12));
        }
    }
    ImGui::Dummy(ImVec2(size, size));
}

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

float SpeedForKey(TSKISpeedKey key, float current, float beforePause) {
    switch (key) {
        case TSKISpeedKey::TogglePause:
            if (current > 0) return 0.0f;
            return beforePause > 0 ? beforePause : 1.0f;
        case TSKISpeedKey::Normal:
            return 1.0f;
        case TSKISpeedKey::Fast:
            return 2.0f;
        case TSKISpeedKey::VeryFast:
            return 4.0f;
        default:
            return -1.0f;
    }
}

std::string MenuBarDate(const TSKICalendar& c) {
    return "Season " + std::to_string(c.Season) + ", day " + std::to_string(c.Day + 1) + ", " +
           std::to_string(c.Hour) + ":" + (c.Minute < 10 ? "0" : "") + std::to_string(c.Minute);
}

std::string MenuBarWeather(const TSKIEngine& engine) {
    return std::to_string(Temperature(engine)) + " \u00b0C, " +
           (Snowing(engine) ? "snowing" : "snow melting");
}

std::optional<TSKIPlayerAction> TSKIMenuBar::PressSpeedKey(const TSKIEngine& engine,
                                                           TSKISpeedKey key) {
    if (!Visible) return std::nullopt;
    const float speed = SpeedForKey(key, engine.Park.ParkSpeed, beforePause_);
    for (auto b : {TSKIMenuButton::Pause, TSKIMenuButton::Speed1, TSKIMenuButton::Speed2,
                   TSKIMenuButton::Speed4}) {
        if (ButtonSpeed(b) == speed) return PressSpeed(engine, b);
    }
    return std::nullopt;
}

std::optional<TSKIPlayerAction> TSKIMenuBar::PressSpeed(const TSKIEngine& engine,
                                                        TSKIMenuButton button) {
    const float speed = ButtonSpeed(button);
    if (speed < 0) return std::nullopt;
    if (engine.Park.ParkSpeed > 0) beforePause_ = engine.Park.ParkSpeed;
    for (auto b : {TSKIMenuButton::Pause, TSKIMenuButton::Speed1, TSKIMenuButton::Speed2,
                   TSKIMenuButton::Speed4}) {
        state_[size_t(b)] = b == button;
    }
    return SetSpeedAction(speed);
}

TSKIMenuBar::TClicks TSKIMenuBar::Draw(const TSKIEngine& engine, const std::string& cashText,
                                       float scale, const TSKIRect& place, bool arrange) {
    TClicks clicks;
    if (!Visible) return clicks;
    // The speed buttons follow the park's speed, whoever set it.
    for (auto b : {TSKIMenuButton::Pause, TSKIMenuButton::Speed1, TSKIMenuButton::Speed2,
                   TSKIMenuButton::Speed4}) {
        state_[size_t(b)] = engine.Park.ParkSpeed == ButtonSpeed(b);
    }
    if (engine.Park.ParkSpeed > 0) beforePause_ = engine.Park.ParkSpeed;
    ImGui::SetNextWindowPos(ImVec2(place.X, place.Y), arrange ? ImGuiCond_Always : ImGuiCond_Once);
    const std::string caption = GameCaption(engine);
    const std::string title =
        (caption.empty() ? std::string("Main menu") : caption) + "###MainMenu";
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                                   ImGuiWindowFlags_NoFocusOnAppearing;
    const std::string date = MenuBarDate(CalendarAt(engine, engine.Park.ParkTime));
    const std::string weather = MenuBarWeather(engine);
    if (ImGui::Begin(title.c_str(), nullptr, flags)) {
        probe::Window("Main menu");
        const ImGuiStyle& st = ImGui::GetStyle();
        const ImVec2 display = ImGui::GetIO().DisplaySize;
        ImGui::SetWindowFontScale(1.0f);

        // The largest layout that fits the display: at most the whole width less a margin, and
        // a third of its height, so that the view keeps the rest.
        TBarMetrics m;
        m.Side = 40.0f * scale;
        m.TextHeight = ImGui::GetTextLineHeight();
        m.CashHeight = m.TextHeight * 1.25f;
        m.Cell = 72.0f * scale;
        for (const TButtonInfo& info : kButtons) {
            m.Cell = std::max(m.Cell, ImGui::CalcTextSize(info.Caption).x + st.ItemSpacing.x);
        }
        m.Gap = 8 * scale;
        if (engine.Options.Edit)
            m.EditWidth = ImGui::CalcTextSize("Edit").x + 2 * st.FramePadding.x;
        m.InfoWidth[0] = ImGui::CalcTextSize(cashText.c_str()).x * 1.25f;
        m.InfoWidth[1] = ImGui::CalcTextSize(date.c_str()).x;
        m.InfoWidth[2] = ImGui::CalcTextSize(weather.c_str()).x + m.TextHeight + st.ItemSpacing.x;
        m.StripLines = engine.ShownParkMessage.empty() ? 0 : 3;
        const float margin = 4 * scale;
        const TBarLayout layout =
            FitBar(m, st, ImGui::GetFrameHeight(), display.x - 2 * margin, display.y / 3);
        const float k = layout.Shrink;
        const float rowWidth = BarContentSize(m, layout, st).x - 2 * st.WindowPadding.x;

        // The cash, then the date and the day's weather, on one line while they fit.
        ImGui::SetWindowFontScale(1.25f * k);
        ImGui::TextUnformatted(cashText.c_str());
        ImGui::SetWindowFontScale(k);
        probe::LastItem("label", cashText);
        const float lineLeft = ImGui::GetCursorPosX();
        auto nextOnLine = [&](float width) {
            ImGui::SameLine(0, st.ItemSpacing.x * 2);
            if (ImGui::GetCursorPosX() - lineLeft + width > rowWidth + 0.5f) ImGui::NewLine();
        };
        nextOnLine(m.InfoWidth[1] * k);
        ImGui::TextUnformatted(date.c_str());
        probe::LastItem("label", date);
        nextOnLine(m.InfoWidth[2] * k);
        ImGui::BeginGroup();
        WeatherIcon(Snowing(engine), ImGui::GetTextLineHeight());
        ImGui::SameLine(0, st.ItemSpacing.x);
        ImGui::TextUnformatted(weather.c_str());
        ImGui::EndGroup();
        probe::LastItem("label", weather);
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Today's weather");

        const float side = m.Side * k;
        const float cell = m.Cell * k;
        const bool oneRow = layout.Columns >= kButtons.size();
        for (size_t i = 0; i < kButtons.size(); ++i) {
            const TButtonInfo& info = kButtons[i];
            const auto button = TSKIMenuButton(i);
            // A new row for the speed buttons, and every `Columns` buttons of a group.
            const size_t inGroup = i < kWindowButtons ? i : i - kWindowButtons;
            const bool rowStart =
                i == 0 || (!oneRow && (i == kWindowButtons || inGroup % layout.Columns == 0));
            if (!rowStart) ImGui::SameLine();
            if (oneRow && button == TSKIMenuButton::Pause) {  // a gap between windows and speeds
                ImGui::Dummy(ImVec2(m.Gap * k, 1));
                ImGui::SameLine();
            }
            const std::string hint =
                info.Key ? std::string(info.Hint) + " (" + info.Key + ")" : std::string(info.Hint);
            ImGui::BeginGroup();
            ImGui::PushID(int(i));
            bool pressed = false;
            const ImVec2 framePad = st.FramePadding;
            const float buttonWidth = side + 2 * framePad.x;
            if (pictures_[i]) {
                // The picture centred in its cell, the caption below it.
                const float x = ImGui::GetCursorPosX();
                ImGui::SetCursorPosX(x + std::max(0.0f, (cell - buttonWidth) / 2));
                const gl::TTexture& t = state_[i] ? pictures_[i]->Plain : pictures_[i]->On;
                pressed = ImGui::ImageButton(ImTextureID(intptr_t(t.Id())), ImVec2(side, side));
                probe::LastItem("button", info.Hint);
                if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", hint.c_str());
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
                if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", hint.c_str());
            }
            ImGui::Dummy(ImVec2(cell, 0));
            ImGui::PopID();
            ImGui::EndGroup();
            if (!pressed) continue;
            if (ButtonSpeed(button) >= 0) {
                clicks.Speed = PressSpeed(engine, button);
            } else {
                state_[i] = !state_[i];
                if (button == TSKIMenuButton::Help) clicks.Help = true;
                if (button == TSKIMenuButton::Game) clicks.Game = true;
                if (button == TSKIMenuButton::Objectives) clicks.Objectives = true;
                if (button == TSKIMenuButton::Stats) clicks.Stats = true;
                if (button == TSKIMenuButton::Display) clicks.Display = true;
            }
        }
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
        // The message strip wraps at the right edge of the button rows.
        if (!engine.ShownParkMessage.empty()) {
            ImGui::Separator();
            ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + rowWidth);
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
