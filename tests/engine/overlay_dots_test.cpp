// The overlay dots: within every overlay mode each colour has its own shape, so the dots read
// without telling the colours apart.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "engine/dots.h"
#include "engine/engine.h"

namespace vallorn {
namespace {

TEST(OverlayDots, EveryColourOfAModeHasItsOwnShape) {
    TSKIEngine e;
    TSKISkier s(e, TSKISkierRecord{});
    for (uint8_t mode = 1; mode <= 8; ++mode) {
        std::set<std::tuple<int, int, int>> colours;
        std::set<TSKIDotShape> shapes;
        std::set<std::tuple<int, int, int, TSKIDotShape>> pairs;
        for (int level = 0; level < 3; ++level) {  // bad or beginner, middle, good or expert
            const float need = -90.0f + 90.0f * float(level);
            s.Happiness = s.Cold = s.Hunger = s.Energy = need;
            s.Money = 100 + 400 * level;
            s.SpendingLimit = 10 + 40 * level;
            s.Skill = 0.1f + 0.4f * float(level);
            s.State = level == 0 ? kSkierInjured : kSkierIdle;
            const TSKIDotBand band = OverlayBand(mode, s);
            const TSKIColor c = BandColor(band);
            EXPECT_TRUE(OverlayColor(mode, s) == c);
            colours.insert({c.r, c.g, c.b});
            shapes.insert(BandShape(band));
            pairs.insert({c.r, c.g, c.b, BandShape(band)});
        }
        SCOPED_TRACE(int(mode));
        EXPECT_EQ(colours.size(), mode == 8 ? 2u : 3u);
        EXPECT_EQ(shapes.size(), colours.size());
        EXPECT_EQ(pairs.size(), colours.size());
    }
}

}  // namespace
}  // namespace vallorn
