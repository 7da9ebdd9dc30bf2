// Removing a section from the network: its cells, and every stored index and reference that
// named it or a later section.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

using SectionRemoval = test::NetworkWorld;

TEST_F(SectionRemoval, StoredIndexesMoveDownAndReferencesToTheSectionAreDropped) {
    Slope({{200, 100}, {200, 120}, {200, 140}});
    TSKISection& lift = Lift(100, 100, 100, 160);
    TSKISection& last = Slope({{230, 100}, {230, 120}, {230, 140}});
    f->RebuildNavigation();
    ASSERT_EQ(f->SectionByIndex(f->Cell(120, 100).NearestSection), &lift);

    TSKISkier& onward = AddSkier(At(230, 110));
    onward.CurrentTarget = {2, 1};
    TSKISkier& toGate = AddSkier(At(100, 95));
    toGate.CurrentTarget = {1, kGatePoint};
    TSKISkier& before = AddSkier(At(200, 110));
    before.CurrentTarget = {0, 2};
    TSKISkier& waiting = AddSkier(lift.QueuePositions[kQueueTail]);
    waiting.State = kSkierWaiting;
    waiting.CurrentSection = &lift;
    waiting.QueueIndex = kQueueTail;
    lift.QueueSlots[kQueueTail] = &waiting;
    TSKISkier& rider = AddSkier(At(100, 100));
    TSKIGondole& g = AddCarrier(lift);
    ASSERT_TRUE(g.Board(rider));
    rider.State = kSkierOnLift;
    rider.CurrentSection = &lift;
    // A cell's links name sections by index.
    TerrainCell& c = f->Cell(10, 10);
    c.NavLinkCount = 3;
    c.NavLinks[0] = {2, 1};
    c.NavLinks[1] = {1, kGatePoint};
    c.NavLinks[2] = {0, 2};
    c.NearbyCount = 1;
    c.Nearby[0] = {1, 0};
    onward.Cell = c;

    f->RemoveSection(1);
    EXPECT_TRUE(test::ParkConsistent(*f));
    ASSERT_EQ(f->Sections.size(), 2u);
    EXPECT_EQ(f->Sections[1].get(), &last);
    EXPECT_EQ(f->IndexOf(&last), 1);

    EXPECT_EQ(onward.CurrentTarget.Section, 1);
    EXPECT_EQ(onward.CurrentTarget.Point, 1);
    EXPECT_EQ(toGate.CurrentTarget.Section, -1);
    EXPECT_EQ(toGate.CurrentTarget.Point, -1);
    EXPECT_EQ(before.CurrentTarget.Section, 0);
    EXPECT_EQ(waiting.CurrentSection, nullptr);
    EXPECT_EQ(waiting.State, kSkierIdle);
    EXPECT_EQ(rider.CurrentSection, nullptr);
    EXPECT_NE(rider.State, kSkierOnLift);

    // The lift's cells are free and no cell refers to it.
    EXPECT_EQ(f->Cell(100, 100).Kind, kCellFree);
    EXPECT_EQ(f->Cell(100, 160).Kind, kCellFree);
    for (const TerrainCell& cell : f->Grid) {
        ASSERT_NE(f->SectionByIndex(cell.NearestSection), &lift);
        ASSERT_NE(f->SectionByIndex(cell.Section), &lift);
    }
    ASSERT_EQ(c.NavLinkCount, 2);
    EXPECT_EQ(c.NavLinks[0].Section, 1);
    EXPECT_EQ(c.NavLinks[1].Section, 0);
    EXPECT_EQ(c.NavLinks[2].Section, -1);
    EXPECT_EQ(c.NearbyCount, 0);
    EXPECT_EQ(onward.Cell.NavLinkCount, 2);
    EXPECT_EQ(onward.Cell.NavLinks[0].Section, 1);

    // Removing a slope frees its cells; the rebuild then offers only what is left.
    f->RemoveSection(0);
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_EQ(f->Cell(200, 110).Kind, kCellFree);
    EXPECT_EQ(f->Cell(200, 120).Kind, kCellFree);
    EXPECT_EQ(f->SectionByIndex(f->Cell(230, 120).Section), &last);
    f->RebuildNavigation();
    EXPECT_EQ(f->Cell(200, 110).NavLinkCount, 0);
    EXPECT_EQ(f->Cell(230, 110).NavLinks[0].Section, 0);
    f->RemoveSection(7);  // no such section: nothing happens
    EXPECT_EQ(f->Sections.size(), 1u);
}

TEST_F(SectionRemoval, ALiftGivesACrossedSlopeItsCellsBackAfterEarlierSectionsWent) {
    Slope({{200, 100}, {200, 120}, {200, 140}});
    TSKISection& crossed = Slope({{290, 115}, {300, 115}, {310, 115}}, 1);
    const std::vector<TerrainCell> before = f->Grid;
    Lift(300, 100, 300, 130, 0);  // a surface lift across the slope
    size_t taken = 0;
    for (size_t k = 0; k < before.size(); ++k)
        taken += before[k].Section == 1 && f->Grid[k].Section == 2;
    ASSERT_GT(taken, 0u);

    f->RemoveSection(0);  // the slope is now section 0, the lift section 1
    f->RemoveSection(1);
    for (size_t k = 0; k < before.size(); ++k) {
        if (before[k].Section != 1) continue;
        ASSERT_EQ(f->Grid[k].Kind, before[k].Kind) << k / kGridSide << "," << k % kGridSide;
        ASSERT_EQ(f->SectionByIndex(f->Grid[k].Section), &crossed);
    }
}

}  // namespace
}  // namespace vallorn
