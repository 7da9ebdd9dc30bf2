// The intro's fading labels and its clock.
#include <gtest/gtest.h>

#include "ui/intro.h"

namespace vallorn {
namespace {

TEST(Intro, EachLabelFadesInHoldsAndFadesOutInItsWindow) {
    for (int s : {0, 200, 400}) {
        EXPECT_EQ(IntroFade(s + 19, s), 0);
        EXPECT_EQ(IntroFade(s + 20, s), 0);
        EXPECT_EQ(IntroFade(s + 21, s), 4);  // 4.25 truncated
        EXPECT_EQ(IntroFade(s + 50, s), 127);
        EXPECT_EQ(IntroFade(s + 80, s), 255);
        EXPECT_EQ(IntroFade(s + 140, s), 255);
        EXPECT_EQ(IntroFade(s + 170, s), 127);
        EXPECT_EQ(IntroFade(s + 200, s), 0);
        EXPECT_EQ(IntroFade(s + 260, s), 0);  // never negative after its window
    }
    // Who shows when: one label, then the next, then the title with its subtitle.
    EXPECT_TRUE(IntroLabelVisible(0, 200));
    EXPECT_FALSE(IntroLabelVisible(1, 200));
    EXPECT_TRUE(IntroLabelVisible(1, 201));
    EXPECT_FALSE(IntroLabelVisible(1, 400));
    EXPECT_FALSE(IntroLabelVisible(2, 400));
    EXPECT_TRUE(IntroLabelVisible(2, 401));
    EXPECT_TRUE(IntroLabelVisible(3, 599));
    EXPECT_FALSE(IntroLabelVisible(3, 600));
    EXPECT_STREQ(IntroText(2), "VALLORN");
    EXPECT_STREQ(IntroText(3), "a ski resort simulation game");
}

TEST(Intro, RunsOneStepPer33MillisecondsAndEndsAt601OrWhenSkipped) {
    TSKIIntro intro;
    EXPECT_FALSE(intro.Advance(0.020));
    EXPECT_EQ(intro.Counter(), 0);
    EXPECT_FALSE(intro.Advance(0.020));  // 40 ms in: one step
    EXPECT_EQ(intro.Counter(), 1);
    EXPECT_FALSE(intro.Advance(5.0));  // a stalled frame catches up only a few steps
    EXPECT_EQ(intro.Counter(), 4);
    bool ended = false;
    int calls = 0;
    while (!ended && calls < 1000) ended = intro.Advance(kIntroStepSeconds), ++calls;
    EXPECT_TRUE(ended);
    EXPECT_EQ(calls, 597);  // the 601st step ends it
    EXPECT_TRUE(intro.Over());
    EXPECT_EQ(intro.Counter(), kIntroOver);
    EXPECT_FALSE(intro.Advance(1.0));
    EXPECT_FALSE(intro.Stop());

    TSKIIntro skipped;
    skipped.Advance(0.5);
    EXPECT_TRUE(skipped.Stop());
    EXPECT_TRUE(skipped.Over());
}

}  // namespace
}  // namespace vallorn
