#include "ui/intro.h"

#include <algorithm>
#include <filesystem>

#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

namespace vallorn {

namespace {

constexpr const char* kTexts[kIntroLabels] = {kIntroCredit, "presents", "VALLORN",
                                              "a ski resort simulation game"};
constexpr int kMaxCatchUpSteps = 3;
constexpr const char* kBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kPlainFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

}  // namespace

int IntroWindowStart(int label) {
    return label == 0 ? 0 : label == 1 ? 200 : 400;
}

const char* IntroText(int label) {
    return label >= 0 && label < kIntroLabels ? kTexts[label] : "";
}

int IntroFade(int counter, int s) {
    double v = 0;
    const int c = counter;
    if (c < s + 20) {
        v = 0;
    } else if (c <= s + 80) {
        v = (c - s - 20) * 4.25;
    } else if (c <= s + 140) {
        v = 255;
    } else if (c <= s + 200) {
        v = 255 - (c - s - 140) * 4.25;
    }
    return std::clamp(int(v), 0, 255);
}

bool IntroLabelVisible(int label, int counter) {
    switch (label) {
        case 0:
            return counter >= 0 && counter <= 200;
        case 1:
            return counter >= 201 && counter <= 399;
        case 2:
        case 3:
            return counter >= 401 && counter <= 599;
        default:
            return false;
    }
}

bool TSKIIntro::Advance(double seconds) {
    if (Over()) return false;
    pending_ += std::max(0.0, seconds);
    int steps = 0;
    while (pending_ >= kIntroStepSeconds && steps < kMaxCatchUpSteps) {
        pending_ -= kIntroStepSeconds;
        ++steps;
        if (++counter_ >= kIntroEnd) return Stop();
    }
    if (steps == kMaxCatchUpSteps) pending_ = 0;  // a stalled frame does not rush the fade
    return false;
}

bool TSKIIntro::Stop() {
    if (Over()) return false;
    counter_ = kIntroOver;
    return true;
}

void TSKIIntro::LoadFonts(float dpiScale) {
    dpiScale_ = dpiScale > 0 ? dpiScale : 1.0f;
    ImGuiIO& io = ImGui::GetIO();
    std::error_code ec;
    if (std::filesystem::exists(kBoldFont, ec)) {
        big_ = io.Fonts->AddFontFromFileTTF(kBoldFont, 48.0f * dpiScale_);
    }
    if (std::filesystem::exists(kPlainFont, ec)) {
        small_ = io.Fonts->AddFontFromFileTTF(kPlainFont, 24.0f * dpiScale_);
    }
    if (big_ || small_) {
        ImGui_ImplOpenGL3_DestroyFontsTexture();
        ImGui_ImplOpenGL3_CreateFontsTexture();
    }
}

void TSKIIntro::Draw(float width, float height) const {
    if (Over()) return;
    ImDrawList* list = ImGui::GetBackgroundDrawList();
    list->AddRectFilled(ImVec2(0, 0), ImVec2(width, height), IM_COL32(0, 0, 0, 255));
    for (int label = 0; label < kIntroLabels; ++label) {
        if (!IntroLabelVisible(label, counter_)) continue;
        const int v = IntroFade(counter_, IntroWindowStart(label));
        if (v == 0) continue;
        ImFont* font = label == 3 ? small_ : big_;
        if (!font) font = ImGui::GetFont();
        const float size = (label == 3 ? 24.0f : 48.0f) * dpiScale_;
        const char* text = IntroText(label);
        const ImVec2 extent = font->CalcTextSizeA(size, 1e9f, 0, text);
        // Centred across the view; the first three labels stand 58 points above the middle,
        // the subtitle just below it.
        const float top = height / 2 + (label == 3 ? 0.0f : -58.0f * dpiScale_);
        list->AddText(font, size, ImVec2((width - extent.x) / 2, top), IM_COL32(v, v, v, 255),
                      text);
    }
}

}  // namespace vallorn
