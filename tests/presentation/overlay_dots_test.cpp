// The overlay dots: within every overlay mode each colour has its own shape, so the dots read
// without telling the colours apart; and the dots a view draws follow what it drew itself.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "engine/engine.h"
#include "presentation/dots.h"
#include "support/test_level.h"

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

TEST(OverlayDots, TheViewsDotsMarkWhatItShowsInViewAndDidNotDrawAsAModel) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    TSKIEngine& e = *f;
    // Skiers on cells (100, 100) and (101, 100), in view, and on (300, 300), out of view.
    std::vector<uint8_t> flags(e.Grid.size(), 0);
    for (const auto& [i, j] : {std::pair{100, 100}, std::pair{101, 100}}) {
        flags[size_t(i) * kGridSide + size_t(j)] = kCellInView;
        auto& s = e.Skiers.emplace_back(std::make_unique<TSKISkier>(e, TSKISkierRecord{}));
        s->Position = e.CellToWorld(i, j, true);
    }
    e.Skiers.emplace_back(std::make_unique<TSKISkier>(e, TSKISkierRecord{}))->Position =
        e.CellToWorld(300, 300, true);
    e.SetCellViewFlags(flags);
    // Two snowmobiles of a type without a low-detail model: the view drew the first one.
    e.Params.Vehicles[kVehicleSnowmobile].ModelLow.clear();
    for (int k = 0; k < 2; ++k)
        e.Vehicles.emplace_back(std::make_unique<TSKIVehicle>(e))->Position =
            e.CellToWorld(200 + k, 200, true);

    const TSKIViewDots dots = CollectDots(e, 1, {0, 1, 0}, {1});
    ASSERT_EQ(dots.Overlay.size(), 2u);  // the two skiers in view, last first
    EXPECT_FLOAT_EQ(dots.Overlay[0].Position.y, e.Skiers[1]->Position.y + 3);
    EXPECT_TRUE(dots.Overlay[0].Color == OverlayColor(1, *e.Skiers[1]));
    ASSERT_EQ(dots.Crowd.size(), 2u);  // skier 0, not drawn in detail, and vehicle 1
    EXPECT_FLOAT_EQ(dots.Crowd[0].Position.x, e.Skiers[0]->Position.x);
    EXPECT_FLOAT_EQ(dots.Crowd[0].Position.y, e.Skiers[0]->Position.y + 1);
    EXPECT_FLOAT_EQ(dots.Crowd[1].Position.x, e.Vehicles[1]->Position.x);

    EXPECT_TRUE(CollectDots(e, 0, {1, 1, 1}, {1, 1}).Overlay.empty());
    EXPECT_TRUE(CollectDots(e, 0, {1, 1, 1}, {1, 1}).Crowd.empty());
}

}  // namespace
}  // namespace vallorn
