// What the game writes it reads back: parks at the limits of every saved field.
#include <gtest/gtest.h>

#include <limits>

#include "base/ini_file.h"
#include "engine/arrivals.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_blocks.h"
#include "persistence/state_hash.h"
#include "support/resort_builder.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr float kHuge = std::numeric_limits<float>::max();

std::unique_ptr<TSKIEngine> NewEngine() {
    return std::make_unique<TSKIEngine>(TSKIEngineSetup{test::BuildRoot(), 3, nullptr});
}

// The saved lines of `a` that `b` does not write alike.
std::string Differences(const std::string& a, const std::string& b) {
    const TIniFile fa = TIniFile::FromText(a), fb = TIniFile::FromText(b);
    std::string out;
    for (const std::string& section : fa.Sections())
        for (const std::string& key : fa.SectionKeys(section))
            if (fa.ReadString(section, key) != fb.ReadString(section, key))
                out += section + "/" + key + ": " + fa.ReadString(section, key).substr(0, 80) +
                       " | " + fb.ReadString(section, key).substr(0, 80) + "\n";
    return out;
}

// A resort whose every saved field is pushed to one end of what the game allows.
std::unique_ptr<TSKIEngine> ExtremePark(bool high) {
    auto e = NewEngine();
    EXPECT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
    const test::TResortLayout layout = test::BuildResort(*e);
    EXPECT_TRUE(layout.ok()) << layout.error;
    TSKIBuildingRecord garage;
    garage.Type = kBuildSnowcatGarage;
    garage.Position = e->CellToWorld(layout.lowerI + 6, layout.lowerJ - 6, true);
    e->CreateBuilding(garage);

    TSKIParkData& p = e->Park;
    p.ParkName =
        std::string(" \tA park; [named] = \"long\"\r\n") + std::string(400, high ? 'x' : 'y');
    p.ParkTime = high ? 1 << 30 : -1;  // the clock keeps a day's room before its end
    p.ParkCash = high ? kMax : kMin;
    p.ParkRewards = high ? kMax : kMin;
    // The loan and the money spent are never below zero.
    p.ParkLoan = p.ParkLoanExpence = p.ParkMarketingExpence = p.ParkEcoExpence = high ? kMax : 0;
    p.ParkMissionIndex = high ? kMax : kMin;
    p.ParkSpawnSpeed = high ? kMax : kMin;
    p.ParkLeftBecauseUnhappy = p.ParkLeftBecauseNoMoney = p.ParkLeftBecauseDied = high ? 65535 : 0;
    p.ParkSandboxDiff = high ? 255 : 0;
    p.ParkRating = p.ParkPopularity = p.ParkRatingLeftDead = high ? kHuge : -kHuge;
    p.ParkWeather = high ? 1 : 0;
    e->Viewpoint.FocusX = high ? kWorldMinX : kWorldMaxX;
    e->Viewpoint.FocusZ = high ? kWorldMaxZ : kWorldMinZ;

    // Skiers in the grid's corner cells with every value at an end.
    for (int k = 0; k < kMaxRiders + 3; ++k) {
        TSKISkierRecord r;
        r.Position = e->CellToWorld(k & 1 ? kGridSize - 1 : 0, k & 2 ? kGridSize - 1 : 0, true);
        r.Money = r.SpendingLimit = high ? kMax : kMin;
        r.Cold = r.Hunger = r.Happiness = r.Energy = high ? 100.0f : -100.0f;
        r.Skill = high ? 1.0f : 0.0f;
        r.LiftType = uint8_t(high ? kLiftTypeCount - 1 : 0);
        r.Leaving = high;
        e->Skiers.push_back(std::make_unique<TSKISkier>(*e, r));
    }
    // More carriers than any lift runs; the last one full.
    TSKISection& lift = *e->Sections[size_t(layout.lift)];
    lift.Name = std::string(300, 'L') + " |\t end";
    lift.TotalIncome = lift.InvestedMoney = high ? kMax : kMin;
    lift.TotalExpense = high ? kMax : kMin;
    lift.TicketPrice = lift.CustomersServed = lift.TooExpensiveCount = high ? 65535 : 0;
    lift.UpgradeBonus = high ? kUpgradeBonusMax : 0;
    lift.Status = high ? kLiftBroken : kLiftOpen;
    for (int k = 0; k < 500; ++k) {
        lift.Carriers.push_back(std::make_unique<TSKIGondole>(lift));
        TSKIGondole& g = *lift.Carriers.back();
        g.Init();
        g.Position = lift.DetailLine[size_t(k) % lift.DetailLine.size()];
        g.NextPoint = int32_t(size_t(k) % lift.DetailLine.size());
    }
    TSKIGondole& full = *lift.Carriers.back();
    for (int s = 0; s < lift.Type().GondoleCapacity; ++s) {
        TSKISkier& rider = *e->Skiers[size_t(s)];
        full.Riders[size_t(full.RiderCount++)] = &rider;
        rider.LiftType = lift.LiftType;
        rider.State = kSkierOnLift;
        rider.CurrentSection = &lift;
    }
    for (const auto& b : e->Buildings) {
        b->ServicePrice = b->CustomersServed = b->TotalIncome = b->TotalExpense =
            b->TooExpensiveCount = high ? 65535 : 0;
        b->UpgradeBonus = high ? kUpgradeBonusMax : 0;
        b->AreaI = b->AreaJ = high ? kGridSize - 1 : 0;
    }
    AllocateParking(*e);
    return e;
}

TEST(SavedGameExtremes, ParksAtTheLimitsOfEveryFieldLoadBackTheSame) {
    for (bool high : {false, true}) {
        auto a = ExtremePark(high);
        test::TempDir dir;
        std::string why;
        ASSERT_TRUE(SaveGameFile(*a, dir / "edge.ski", &why)) << why;
        auto b = NewEngine();
        ASSERT_TRUE(LoadGameFile(*b, dir / "edge.ski")) << b->LoadError;
        EXPECT_EQ(b->LoadDropped, 0);
        const std::string saved = test::ReadText(dir / "edge.ski");
        EXPECT_EQ(StateHash(*b), StateHash(*a)) << Differences(saved, SaveGameText(*b));
        EXPECT_EQ(b->Park.ParkCash, high ? kMax : kMin);
        EXPECT_EQ(b->Skiers.size(), a->Skiers.size());
        // A name is saved without its control characters and outer blanks.
        EXPECT_EQ(b->Park.ParkName,
                  "A park; [named] = \"long\"  " + std::string(400, high ? 'x' : 'y'));
        EXPECT_EQ(b->Sections[0]->Name, std::string(300, 'L') + " /  end");
    }
}

}  // namespace
}  // namespace vallorn
