// Creating and removing the sections of the resort network. Removal keeps every stored
// section index right: skiers' targets, cells' references and the navigation links.
#include <algorithm>

#include "entities/section.h"
#include "entities/skier.h"
#include "entities/world.h"

namespace vallorn {

namespace {

// A stored section index after the section `removed` left the list: indexes above it move
// down by one, the removed one becomes none (-1).
int32_t ShiftedIndex(int32_t index, int32_t removed) {
    if (index == removed) return -1;
    return index > removed ? index - 1 : index;
}

// Drops a cell's references to a removed section and renumbers the others.
void ForgetSection(TerrainCell& c, int32_t removed) {
    if (c.Section == removed && (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre)) {
        c.Kind = kCellFree;
    }
    c.Section = ShiftedIndex(c.Section, removed);
    c.NearestSection = ShiftedIndex(c.NearestSection, removed);
    auto renumber = [removed](auto& entries, uint8_t& count) {
        uint8_t kept = 0;
        for (uint8_t k = 0; k < count; ++k) {
            const int32_t s = ShiftedIndex(entries[k].Section, removed);
            if (s < 0) continue;
            entries[kept] = TSKINavLink{s, entries[k].Point};
            ++kept;
        }
        for (uint8_t k = kept; k < count; ++k) entries[k] = TSKINavLink{};
        count = kept;
    };
    renumber(c.NavLinks, c.NavLinkCount);
    renumber(c.Nearby, c.NearbyCount);
}

}  // namespace

TSKISection* TSKIWorld::CreateSlope(std::vector<TSKIVector> points, const std::string& name) {
    if (points.empty()) return nullptr;
    auto slope = std::make_unique<TSKISection>(*this);
    slope->Kind = kSectionSlope;
    for (TSKIVector& p : points) {
        if (HasGrid()) p.y = TerrainHeight(p);
    }
    WorldToCell(points.front(), slope->LowerI, slope->LowerJ);
    WorldToCell(points.back(), slope->UpperI, slope->UpperJ);
    slope->Points = std::move(points);
    ++SlopesCreated;
    slope->Name = name.empty() ? "Slope #" + std::to_string(SlopesCreated) : name;
    TSKISection* s = slope.get();
    Sections.push_back(std::move(slope));
    s->BuildSlope();
    return s;
}

TSKISection* TSKIWorld::CreateLift(int lowerI, int lowerJ, int upperI, int upperJ,
                                   const TSKILiftRecord& record) {
    if (!CellInGrid(lowerI, lowerJ) || !CellInGrid(upperI, upperJ)) return nullptr;
    if (lowerI == upperI && lowerJ == upperJ) return nullptr;
    auto lift = std::make_unique<TSKISection>(*this);
    lift->Kind = kSectionLift;
    lift->LowerI = lowerI;
    lift->LowerJ = lowerJ;
    lift->UpperI = upperI;
    lift->UpperJ = upperJ;
    lift->LiftType = record.LiftType < kLiftTypeCount ? record.LiftType : 0;
    const TSKILiftParams& type = Params.Lifts[lift->LiftType];
    lift->Name = type.DisplayName.empty() ? type.Name : type.DisplayName;
    TSKISection* s = lift.get();
    Sections.push_back(std::move(lift));
    TSKILiftRecord r = record;
    r.LiftType = s->LiftType;
    s->BuildLift(r);
    return s;
}

void TSKIWorld::RemoveSection(size_t index) {
    if (index >= Sections.size()) return;
    TSKISection* gone = Sections[index].get();
    const int32_t removed = int32_t(index);

    // The section clears its own cells; riders are set down and decide where to go.
    gone->Destroy();

    // Skiers: references to the section are dropped; those that rode, skied or queued on it
    // stand idle. Stored indexes above it move down.
    for (auto& skier : Skiers) {
        if (skier->Detour == gone) skier->Detour = nullptr;
        if (skier->CurrentSection == gone) {
            skier->CurrentSection = nullptr;
            const uint8_t st = skier->State;
            if (st == kSkierOnLift || st == kSkierSkiing || st == kSkierWaiting) {
                skier->State = kSkierIdle;
                skier->QueueIndex = kQueueTail;
            }
        }
        if (skier->Route.Section >= 0) {
            const int32_t s = ShiftedIndex(skier->Route.Section, removed);
            skier->Route = s < 0 ? TSKINavLink{} : TSKINavLink{s, skier->Route.Point};
        }
        if (skier->CurrentTarget.Section >= 0) {
            const int32_t s = ShiftedIndex(skier->CurrentTarget.Section, removed);
            if (s < 0)
                skier->CurrentTarget = TSKINavLink{};
            else
                skier->CurrentTarget.Section = s;
        }
    }

    // Cells, and the cell copies the skiers hold: references to it are cleared, its slope
    // cells freed, and the links kept valid until the caller rebuilds the navigation.
    for (TerrainCell& c : Grid) ForgetSection(c, removed);
    for (auto& skier : Skiers) ForgetSection(skier->Cell, removed);
    for (auto& vehicle : Vehicles) ForgetSection(vehicle->Cell, removed);
    // The cells a lift took from a slope name that slope by index too.
    for (auto& section : Sections) {
        for (auto& marked : section->MarkedCells) {
            marked.Section = ShiftedIndex(marked.Section, removed);
        }
    }

    Sections.erase(Sections.begin() + long(index));
}

int32_t TSKIWorld::IndexOf(const TSKISection* section) const {
    for (size_t k = 0; k < Sections.size(); ++k)
        if (Sections[k].get() == section) return int32_t(k);
    return -1;
}

}  // namespace vallorn
