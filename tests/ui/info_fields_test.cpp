// The texts and placement of the information windows and palette boxes.
#include <gtest/gtest.h>

#include "entities/building.h"
#include "entities/section.h"
#include "support/engine_fixture.h"
#include "ui/info_fields.h"
#include "ui/palette_boxes.h"

namespace vallorn {
namespace {

TEST(InfoFields, TextsOfLoadQueuesAndUnits) {
    EXPECT_EQ(PassengersText(0, 13, 4), "0 (0% of maximum capacity)");
    EXPECT_EQ(PassengersText(7, 3, 4), "7 (58% of maximum capacity)");
    EXPECT_EQ(PassengersText(20, 2, 4), "20 (100% of maximum capacity)");  // capped
    EXPECT_EQ(PassengersText(3, 0, 4), "3 (0% of maximum capacity)");      // no carriers
    EXPECT_EQ(TooExpensiveText(5, 0), "0");
    EXPECT_EQ(TooExpensiveText(3, 12), "3 x (25% of total customers)");
    EXPECT_EQ(TooExpensiveText(30, 20), "20 x (100% of total customers)");  // capped at served
    EXPECT_EQ(HeightText(100.9f), "802 meters");                            // truncated
    EXPECT_EQ(OccupancyText(kBuildParking, 1), "1 car");
    EXPECT_EQ(OccupancyText(kBuildStall, 3), "3 customers");
    EXPECT_EQ(OccupancyText(kBuildSkiPatrol, 2), "2 rescue snowmobiles");
    EXPECT_EQ(OccupancyText(kBuildSnowCannon, 0), "0");
}

TEST(InfoFields, PicksTheObjectUnderTheCursorAndShowsItsQuality) {
    test::EngineFixture e;
    e->Params.Lifts[kLiftQuadChair].ServiceQuality = 1.2f;
    TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {0, 0, 40, 1}});
    lift.UpgradeBonus = 0.1f;
    e.AddBuilding(kBuildStall, {0, 0, 0, 1});
    TerrainCell cell;
    EXPECT_EQ(PickInfoTarget(*e, cell).Kind, TSKIInfoKind::None);
    cell.Building = 0;
    EXPECT_EQ(PickInfoTarget(*e, cell).Kind, TSKIInfoKind::Building);
    cell.Section = 0;  // a lift's cell wins over a building's
    EXPECT_EQ(PickInfoTarget(*e, cell).Kind, TSKIInfoKind::Lift);
    lift.Kind = kSectionSlope;
    EXPECT_EQ(PickInfoTarget(*e, cell).Kind, TSKIInfoKind::Slope);
    cell.Section = 5;  // no such section: the building
    EXPECT_EQ(PickInfoTarget(*e, cell).Kind, TSKIInfoKind::Building);

    lift.Kind = kSectionLift;
    lift.Status = kLiftBroken;
    const TSKILiftInfo f = LiftInfo(*e, lift);
    EXPECT_EQ(f.QualityText, "130%");  // 1.2 + 0.1, not 129 from the float sum
    EXPECT_EQ(f.StatusText, "Unavailable");
    EXPECT_EQ(f.Invested, "");  // nothing invested: empty
}

TEST(InfoFields, WindowsAndBoxesStayOnTheScreen) {
    const TSKIPlacement a = PlaceOnScreen(900, 700, 329, 400, 1024, 768);
    EXPECT_FLOAT_EQ(a.X, 695);
    EXPECT_FLOAT_EQ(a.Y, 368);
    const TSKIPlacement b = PlaceOnScreen(100, 50, 329, 400, 1024, 768);
    EXPECT_FLOAT_EQ(b.X, 100);
    EXPECT_FLOAT_EQ(b.Y, 50);
    const TSKIPlacement c = PlaceOnScreen(100, 50, 2000, 900, 1024, 768);  // larger than it
    EXPECT_FLOAT_EQ(c.X, 0);
    EXPECT_FLOAT_EQ(c.Y, 0);
    EXPECT_FLOAT_EQ(PaletteTop(47, 1), 36);
    EXPECT_FLOAT_EQ(PaletteTop(48, 1), 48);
}

std::string Row(const TSKIPaletteText& t, const std::string& caption) {
    for (const auto& [c, v] : t.Rows)
        if (c == caption) return v;
    return "(no row " + caption + ")";
}

TEST(PaletteBoxes, FiguresOfLiftAndBuildingTypes) {
    TSKIParameters p;
    TSKILiftParams& platter = p.Lifts[kLiftPlatter];
    platter.GondoleCapacity = 1;
    platter.Speed = 25;
    platter.GondoleSpacing = 10;
    platter.MaxLength = 60.5f;
    platter.CostPerPole = 950;
    platter.CostPerGondole = 12500;
    platter.RunningCost = 40;
    platter.ServiceQuality = 0.857f;
    const auto lift = LiftPaletteText(p, kLiftPlatter);
    ASSERT_TRUE(lift);
    EXPECT_EQ(Row(*lift, "Transport capacity:"), "1500 pers./hour");
    EXPECT_EQ(Row(*lift, "Lift speed:"), "2.50 m/sec");
    EXPECT_EQ(Row(*lift, "Max. length:"), "303 meters");
    EXPECT_EQ(Row(*lift, "Cost per pole:"), "950,-");
    EXPECT_EQ(Row(*lift, "Cost per gondola:"), "12.500,-");
    EXPECT_EQ(Row(*lift, "Running cost:"), "40.-/hour");
    EXPECT_EQ(Row(*lift, "Service quality:"), "86 %");
    EXPECT_FALSE(LiftPaletteText(p, kLiftTypeCount));
    EXPECT_FALSE(LiftPaletteText(p, -1));
    EXPECT_FALSE(BuildingPaletteText(p, kBuildingTypeCount));

    TSKIBuildingParams& stall = p.Buildings[kBuildStall];
    EXPECT_EQ(Row(*BuildingPaletteText(p, kBuildStall), "Services:"), "");
    stall.RefillHunger = 0.5f;
    EXPECT_EQ(Row(*BuildingPaletteText(p, kBuildStall), "Services:"), "food");
    stall.RefillHappiness = stall.RefillCold = stall.RefillEnergy = 0.1f;
    EXPECT_EQ(Row(*BuildingPaletteText(p, kBuildStall), "Services:"), "fun,warm up,rest,food");
    stall.RunningCost = 24;
    stall.Rating = 1.25f;
    stall.Size = 12;
    const auto building = BuildingPaletteText(p, kBuildStall);
    EXPECT_EQ(Row(*building, "Upkeep:"), "24,-/hour");
    EXPECT_EQ(Row(*building, "Rating:"), "1.25 points");
    EXPECT_EQ(Row(*building, "Size:"), "12 meters");
}

}  // namespace
}  // namespace vallorn
