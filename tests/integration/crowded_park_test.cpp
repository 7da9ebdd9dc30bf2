// A park far over its lifts' capacity keeps its skiers: whoever goes home is counted by the
// reason it left, in the unlimited sandbox and in any other game.
#include <gtest/gtest.h>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "park/starter_park.h"
#include "persistence/saved_game.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(CrowdedPark, EverySkierWhoGoesHomeIsCountedAndNobodyLeavesTheUnlimitedSandboxUnhappy) {
    for (const bool unlimited : {true, false}) {
        SCOPED_TRACE(unlimited ? "unlimited sandbox" : "sandbox map");
        TSKIEngine e({test::BuildRoot(), 11, nullptr});
        ASSERT_TRUE(LoadGameFile(e, test::BuildRoot() / "worlds" / datagen::kStarterFile))
            << e.LoadError;
        if (!unlimited) {
            e.Park.ParkMissionIndex = -1;
            e.Park.ParkSandboxDiff = 3;
        }
        e.Park.ParkSpeed = 4;
        e.Park.ParkSpawnSpeed = 1 << 30;  // nobody else arrives
        // Far more skiers than the two lines hold.
        const int crowd = 1500;
        ASSERT_EQ(SpawnSkiers(e, crowd, UpdateArrivalPoint(e), 10, 10, true), crowd);
        // About two game hours, well past the skiers' patience with full lines.
        while (e.TicksRun < 140) OnProgress(e, 1.0 / 30.0);

        // Those on their way home were counted when they set off.
        const TSKIParkData& p = e.Park;
        const int counted =
            p.ParkLeftBecauseUnhappy + p.ParkLeftBecauseNoMoney + p.ParkLeftBecauseDied;
        int staying = 0;
        for (const auto& s : e.Skiers) staying += s->State != kSkierLeaving;
        EXPECT_EQ(staying + counted, crowd);
        if (unlimited) {
            EXPECT_EQ(p.ParkLeftBecauseUnhappy, 0);
            EXPECT_GT(staying, crowd * 9 / 10);
        } else {
            EXPECT_GT(p.ParkLeftBecauseUnhappy, 0) << "a packed crowd makes skiers unhappy";
        }
    }
}

}  // namespace
}  // namespace vallorn
