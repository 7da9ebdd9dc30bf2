// Construction as player actions: each check gives the verdict the construction tool's hover
// gives, each apply calls the construction function the tool's click calls.
#include "construction/construction_actions.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "construction/tool_geometry.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

using Check = TSKIActionCheck;
using namespace construction;

std::string Cell(int i, int j) {
    return std::to_string(i) + " " + std::to_string(j);
}

bool InGrid(const TSKIEngine& e, int i, int j) {
    return e.HasGrid() && TSKIEngine::CellInGrid(i, j);
}

bool KindIn(uint8_t kind, std::initializer_list<uint8_t> kinds) {
    for (uint8_t k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

TSKIActionCheck CheckSlopeStep(const TSKIEngine& e, const TSKIToolState& t, int i, int j,
                               bool finish) {
    if (t.Tool != TSKITool::Slope || t.SlopePath.empty())
        return Check::Refused("No slope is being drawn");
    if (!InGrid(e, i, j)) return Check::Refused("Path blocked!\n" + SlopeObstacleReason(e, i, j));
    const uint8_t kind = KindOf(e.Cell(i, j));
    const bool endKind = KindIn(kind, {kCellSlopeCentre, kCellLiftLower, kCellLiftUpper});
    if (finish && !endKind) return Check::Refused("A slope finishes on a slope or a lift station");
    if (!finish && kind != kCellFree)
        return Check::Refused("Path blocked!\n" + SlopeObstacleReason(e, i, j));
    return Check::Allowed(finish ? "Finish slope" : "Draw slope");
}

TSKIBuildingRecord NewBuilding(const TSKIEngine& e, uint8_t type, int i, int j, float degrees) {
    TSKIBuildingRecord r;
    r.Type = type;
    r.Position = e.CellToWorld(i, j, true);
    const float a = degrees * 3.14159265f / 180.0f;
    r.Direction = {std::sin(a), 0, std::cos(a), 0};
    return r;
}

// The building placement's check and apply on a whole record.
TSKIActionCheck CheckBuilding(const TSKIEngine& e, const TSKIBuildingRecord& r) {
    if (r.Type >= kBuildingTypeCount || (r.Type == kBuildSightseeing && !e.EditorOpen)) {
        return Check::Refused("No such building type");
    }
    if (CampaignLocks(e) && !e.Profile.UnlockedBuildings[r.Type]) {
        return Check::Refused("This building is locked");
    }
    if (!e.PositionInGrid(r.Position)) return Check::Refused("Invalid location");
    const std::string verdict = ValidateBuilding(e, r, true);
    if (verdict.rfind("OK", 0) != 0) return Check::Refused(verdict);
    return Check::Allowed(verdict, e.Params.Buildings[r.Type].Cost);
}

TSKIActionResult ApplyBuilding(TSKIEngine& e, const TSKIBuildingRecord& r, std::string& reason) {
    if (PlaceBuilding(e, r, true)) return TSKIActionResult::Done;
    reason = "Invalid location";
    return TSKIActionResult::Failed;
}

TSKIPlayerAction PlaceBuildingAction(const TSKIBuildingRecord& record, int i, int j) {
    return {"building " + std::to_string(record.Type) + " " + Cell(i, j),
            [=](const TSKIEngine& e) { return CheckBuilding(e, record); },
            [=](TSKIEngine& e, std::string& reason) { return ApplyBuilding(e, record, reason); }};
}

}  // namespace

TSKIPlayerAction BuildLiftAction(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t liftType) {
    return {
        "build-lift " + Cell(lowerI, lowerJ) + " " + Cell(upperI, upperJ) + " " +
            std::to_string(liftType),
        [=](const TSKIEngine& e) {
            if (liftType >= kLiftTypeCount) return Check::Refused("No such lift type");
            if (!LiftUnlocked(e, liftType)) return Check::Refused("This lift type is locked");
            if (!InGrid(e, lowerI, lowerJ) || !InGrid(e, upperI, upperJ)) {
                return Check::Refused("Invalid location!");
            }
            if (!LowerStationFits(e, lowerI, lowerJ)) return Check::Refused("Invalid location!");
            const int32_t price = LiftPrice(e, lowerI, lowerJ, upperI, upperJ, liftType);
            const auto line = construction::SampleLine(e, e.CellToWorld(lowerI, lowerJ, true),
                                                       e.CellToWorld(upperI, upperJ, true), 5.0f);
            const std::string error = construction::LiftPlacementError(
                e, lowerI, lowerJ, upperI, upperJ, liftType, line, price);
            if (!error.empty()) return Check::Refused(error);
            return Check::Allowed("Place upper station (Price:" + FormatMoney(price) + ")", price);
        },
        [=](TSKIEngine& e, std::string& reason) {
            if (BuildLift(e, lowerI, lowerJ, upperI, upperJ, liftType)) {
                return TSKIActionResult::Done;
            }
            reason = "Invalid location!";
            return TSKIActionResult::Failed;
        }};
}

TSKIPlayerAction SlopeStartAction(TSKIConstruction& tools, int i, int j) {
    return {
        "slope-start " + Cell(i, j),
        [=](const TSKIEngine& e) {
            if (!InGrid(e, i, j) ||
                !KindIn(KindOf(e.Cell(i, j)), {kCellSlopeCentre, kCellLiftLower, kCellLiftUpper})) {
                return Check::Refused("A slope starts on a slope or a lift station");
            }
            return Check::Allowed("Build slope");
        },
        [&tools, i, j](TSKIEngine&, std::string& reason) {
            if (tools.StartSlopeTool(i, j)) return TSKIActionResult::Done;
            reason = "A slope starts on a slope or a lift station";
            return TSKIActionResult::Failed;
        }};
}

// A slope step judges the segment to the cell as a frame of the tool would, then clicks on
// the cell unless the judgement itself added a node (a long forward segment).
TSKIPlayerAction SlopeNodeAction(TSKIConstruction& tools, int i, int j) {
    return {
        "slope-node " + Cell(i, j),
        [&tools, i, j](const TSKIEngine& e) { return CheckSlopeStep(e, tools.State, i, j, false); },
        [&tools, i, j](TSKIEngine&, std::string& reason) {
            TSKIToolState& t = tools.State;
            const size_t nodes = t.SlopePath.size();
            UpdateSlopeSegment(tools, i, j, 0);
            if (t.SlopePath.size() == nodes && t.SlopeSegmentValid) SlopeClickAt(tools, i, j);
            if (t.Tool == TSKITool::Slope && t.SlopePath.size() > nodes) {
                return TSKIActionResult::Done;
            }
            reason = t.ToolText;
            return TSKIActionResult::Failed;
        }};
}

TSKIPlayerAction SlopeFinishAction(TSKIConstruction& tools, int i, int j) {
    return {
        "slope-finish " + Cell(i, j),
        [&tools, i, j](const TSKIEngine& e) { return CheckSlopeStep(e, tools.State, i, j, true); },
        [&tools, i, j](TSKIEngine& e, std::string& reason) {
            TSKIToolState& t = tools.State;
            UpdateSlopeSegment(tools, i, j, 0);
            if (!t.SlopeSegmentValid) {
                reason = t.ToolText;
                return TSKIActionResult::Failed;
            }
            const int32_t slopes = e.SlopeCount();
            SlopeClickAt(tools, i, j);
            if (e.SlopeCount() > slopes) return TSKIActionResult::Done;
            // A path whose legs cross something is dropped when it is finished.
            reason = t.Tool == TSKITool::Slope ? t.ToolText : "The slope could not be laid";
            return TSKIActionResult::Failed;
        }};
}

TSKIPlayerAction PlaceBuildingAction(uint8_t type, int i, int j, float directionDegrees) {
    return {"building " + std::to_string(type) + " " + Cell(i, j),
            [=](const TSKIEngine& e) {
                if (!InGrid(e, i, j)) return Check::Refused("Invalid location");
                return CheckBuilding(e, NewBuilding(e, type, i, j, directionDegrees));
            },
            [=](TSKIEngine& e, std::string& reason) {
                return ApplyBuilding(e, NewBuilding(e, type, i, j, directionDegrees), reason);
            }};
}

TSKIPlayerAction PlaceBuildingAction(const TSKIBuildingRecord& record) {
    int i = 0, j = 0;
    TSKIEngine::WorldToCell(record.Position, i, j);
    return PlaceBuildingAction(record, i, j);
}

TSKIPlayerAction PlantTreeAction(int i, int j) {
    return {"tree " + Cell(i, j),
            [=](const TSKIEngine& e) {
                const int32_t price = e.Game().TreePrice;
                if (!InGrid(e, i, j)) return Check::Refused("Invalid location!");
                // The editor paints trees for free.
                if (!e.EditorOpen && e.Park.ParkCash < price) {
                    return Check::Refused("Not enough cash!");
                }
                if (!TreeFits(e, i, j)) return Check::Refused("No room for a tree");
                return Check::Allowed("Plant trees (Price: " + std::to_string(price) + ",- each)",
                                      price);
            },
            [=](TSKIEngine& e, std::string& reason) {
                if (e.PlantTree(i, j, e.Game().TreePrice)) return TSKIActionResult::Done;
                reason = "No room for a tree";
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction SetAreaAction(size_t building, int i, int j) {
    return {"area " + std::to_string(building) + " " + Cell(i, j),
            [=](const TSKIEngine& e) {
                if (building >= e.Buildings.size()) return Check::Refused("No such building");
                const TSKIBuilding& b = *e.Buildings[building];
                if (b.Params().Category != kCategorySnowCatGarage) {
                    return Check::Refused("Only a snowcat garage has an area of operations");
                }
                if (!InGrid(e, i, j) || !AreaInReach(e, b, i, j)) {
                    return Check::Refused("Target out of reach!");
                }
                return Check::Allowed("Set area of operations");
            },
            [=](TSKIEngine& e, std::string&) {
                SetAreaOfOperations(e, *e.Buildings[building], i, j);
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction DeleteSectionAction(size_t section) {
    return {"delete-section " + std::to_string(section),
            [=](const TSKIEngine& e) {
                if (section >= e.Sections.size()) return Check::Refused("No such slope or lift");
                const std::string name = e.Sections[section]->Name;
                return Check::Allowed("Delete " + name, 0,
                                      "Do you really want to delete \r" + name + " permanently?");
            },
            [=](TSKIEngine& e, std::string& reason) {
                if (DeleteSection(e, section, false)) return TSKIActionResult::Done;
                reason = "Not deleted";
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction DownhillRaceAction(TSKIConstruction& tools, size_t slope) {
    return {"race " + std::to_string(slope),
            [slope](const TSKIEngine& e) {
                const TSKISection* s =
                    e.SectionByIndex(int32_t(std::min<size_t>(slope, INT32_MAX)));
                if (!s || !s->IsSlope() || s->Points.size() < 2)
                    return Check::Refused("No such slope");
                return Check::Allowed("Downhill race");
            },
            [slope, &tools](TSKIEngine&, std::string& reason) {
                if (StartRace(tools, slope)) return TSKIActionResult::Done;
                reason = "No such slope";
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction DeleteBuildingAction(size_t building) {
    return {"delete-building " + std::to_string(building),
            [=](const TSKIEngine& e) {
                if (building >= e.Buildings.size()) return Check::Refused("No such building");
                const uint8_t type = e.Buildings[building]->Type;
                return Check::Allowed("Delete " + e.Params.Buildings[type].Name);
            },
            // The engine asks "Do you really want to delete this building?" itself.
            [=](TSKIEngine& e, std::string&) {
                return DeleteBuilding(e, building) ? TSKIActionResult::Done
                                                   : TSKIActionResult::Declined;
            }};
}

TSKIPlayerAction ReplaceLiftAction(size_t lift, uint8_t newType) {
    return {"replace-lift " + std::to_string(lift) + " " + std::to_string(newType),
            [=](const TSKIEngine& e) {
                if (lift >= e.Sections.size() || !e.Sections[lift]->IsLift()) {
                    return Check::Refused("No such lift");
                }
                const TSKISection& s = *e.Sections[lift];
                for (const TSKIReplaceEntry& entry : ReplaceLiftMenu(e, lift)) {
                    if (entry.LiftType != newType || !entry.Visible) continue;
                    const int32_t price =
                        LiftPrice(e, s.LowerI, s.LowerJ, s.UpperI, s.UpperJ, newType);
                    if (!entry.Enabled) return Check::Refused("Not enough money!");
                    return Check::Allowed(entry.Caption, price);
                }
                return Check::Refused("This lift type is not offered");
            },
            // The engine checks the line, shows "Can not upgrade. " with the reason or asks
            // "Do you want to replace ...", and exchanges the lifts.
            [=](TSKIEngine& e, std::string& reason) {
                if (ReplaceLift(e, lift, newType, &reason)) return TSKIActionResult::Done;
                // No reason: the player answered No to the question.
                return reason.empty() ? TSKIActionResult::Declined : TSKIActionResult::Failed;
            }};
}

}  // namespace vallorn
