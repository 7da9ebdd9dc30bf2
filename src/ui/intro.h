// The intro: four labels that fade in and out on black, one step of the counter every 33 ms
// (about 20 seconds in all); any key or click skips it.
#pragma once

#include <string>

struct ImFont;

namespace vallorn {

constexpr double kIntroStepSeconds = 0.033;
constexpr int kIntroLabels = 4;
constexpr int kIntroEnd = 601;    // the counter value that ends the intro
constexpr int kIntroOver = 1001;  // the counter once the intro is over

// Our studio's credit line, the first label.
inline constexpr const char* kIntroCredit = "Northpeak Games";

// The grey level 0..255 of a label at counter `counter`; the label's window starts at
// `windowStart` (0 for label 1, 200 for label 2, 400 for labels 3 and 4): dark until 20 steps
// in, rising to full over 60 steps, full for 60, falling for 60.
int IntroFade(int counter, int windowStart);
// Label 0..3 (labels 1 to 4): whether it shows at the counter.
bool IntroLabelVisible(int label, int counter);
int IntroWindowStart(int label);
const char* IntroText(int label);

class TSKIIntro {
public:
    // Advances by real seconds, one counter step per 33 ms (a slow frame catches up at most
    // a few steps). True on the call that ends the intro.
    bool Advance(double seconds);
    // Ends the intro at once (a key or a click); true when it was still running.
    bool Stop();
    bool Over() const { return counter_ >= kIntroOver; }
    int Counter() const { return counter_; }

    // Adds the intro's two fonts (48 and 24 points scaled by the display's DPI) to ImGui's
    // atlas and rebuilds its texture. Outside an ImGui frame; without the font file the
    // default font is drawn larger.
    void LoadFonts(float dpiScale);
    // Inside the ImGui frame: the visible labels on the background of a width x height view.
    void Draw(float width, float height) const;

private:
    int counter_ = 0;
    double pending_ = 0;
    float dpiScale_ = 1.0f;
    ImFont* big_ = nullptr;
    ImFont* small_ = nullptr;
};

}  // namespace vallorn
