// Construction as player actions: each check gives the verdict the construction tool's hover
// would give, each apply goes through the construction engine calls (the tools themselves, for
// the steps that only exist as tool clicks: slope nodes and the area of operations).
#include <cmath>

#include "construction/tool_geometry.h"
#include "engine/engine.h"
#include "engine/player_actions.h"

namespace vallorn {

namespace {

using Check = TSKIActionCheck;

constexpr float kAreaReach = 300.0f;
constexpr int kTreeRoom = 3;  // a tree needs the 7 x 7 block around it free

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

// Moves the cursor exactly onto a cell's world point (cursor snap held off for the move) and
// lets the tools judge it, as a frame would.
void PointCursorAt(TSKIEngine& e, int i, int j) {
    const bool snap = e.CursorSnap;
    e.CursorSnap = false;
    e.SetCursorTarget(e.CellToWorld(i, j, true));
    e.UpdateTools(0);
    e.CursorSnap = snap;
}

TSKIActionCheck CheckSlopeStep(const TSKIEngine& e, int i, int j, bool finish) {
    if (e.ConstructionTool != 3) return Check::Refused("No slope is being drawn");
    if (!InGrid(e, i, j)) return Check::Refused("Path blocked!");
    const uint8_t kind = e.Cell(i, j).Kind;
    const bool endKind = KindIn(kind, {kCellSlopeCentre, kCellLiftLower, kCellLiftUpper});
    if (finish && !endKind) return Check::Refused("A slope finishes on a slope or a lift station");
    if (!finish && kind != kCellFree) return Check::Refused("Path blocked!");
    return Check::Allowed(finish ? "Finish slope" : "Draw slope");
}

bool TreeRoom(const TSKIEngine& e, int i, int j) {
    for (int a = i - kTreeRoom; a <= i + kTreeRoom; ++a) {
        for (int b = j - kTreeRoom; b <= j + kTreeRoom; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TerrainCell& c = e.Cell(a, b);
            if (c.Kind != kCellFree || c.UnderLift) return false;
        }
    }
    return true;
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
    if (e.CampaignLocks() && !e.Profile.UnlockedBuildings[r.Type]) {
        return Check::Refused("This building is locked");
    }
    if (!e.PositionInGrid(r.Position)) return Check::Refused("Invalid location");
    const std::string verdict = e.ValidateBuilding(r, true);
    if (verdict.rfind("OK", 0) != 0) return Check::Refused(verdict);
    return Check::Allowed(verdict, e.Params.Buildings[r.Type].Cost);
}

TSKIActionResult ApplyBuilding(TSKIEngine& e, const TSKIBuildingRecord& r, std::string& reason) {
    if (e.PlaceBuilding(r, true)) return TSKIActionResult::Done;
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
            if (!e.LiftUnlocked(liftType)) return Check::Refused("This lift type is locked");
            if (!InGrid(e, lowerI, lowerJ) || !InGrid(e, upperI, upperJ)) {
                return Check::Refused("Invalid location!");
            }
            // The lower station goes where the menu offers "Build lift".
            const uint8_t lowerKind = e.Cell(lowerI, lowerJ).Kind;
            if (lowerKind != kCellFree && lowerKind != kCellSlope) {
                return Check::Refused("Invalid location!");
            }
            const int32_t price = e.LiftPrice(lowerI, lowerJ, upperI, upperJ, liftType);
            const auto line = construction::SampleLine(e, e.CellToWorld(lowerI, lowerJ, true),
                                                       e.CellToWorld(upperI, upperJ, true), 5.0f);
            const std::string error = construction::LiftPlacementError(
                e, lowerI, lowerJ, upperI, upperJ, liftType, line, price);
            if (!error.empty()) return Check::Refused(error);
            return Check::Allowed("Place upper station (Price:" + FormatMoney(price) + ")", price);
        },
        [=](TSKIEngine& e, std::string& reason) {
            if (e.BuildLift(lowerI, lowerJ, upperI, upperJ, liftType)) {
                return TSKIActionResult::Done;
            }
            reason = "Invalid location!";
            return TSKIActionResult::Failed;
        }};
}

TSKIPlayerAction SlopeStartAction(int i, int j) {
    return {
        "slope-start " + Cell(i, j),
        [=](const TSKIEngine& e) {
            if (!InGrid(e, i, j) ||
                !KindIn(e.Cell(i, j).Kind, {kCellSlopeCentre, kCellLiftLower, kCellLiftUpper})) {
                return Check::Refused("A slope starts on a slope or a lift station");
            }
            return Check::Allowed("Build slope");
        },
        [=](TSKIEngine& e, std::string& reason) {
            if (e.StartSlopeTool(i, j)) return TSKIActionResult::Done;
            reason = "A slope starts on a slope or a lift station";
            return TSKIActionResult::Failed;
        }};
}

TSKIPlayerAction SlopeNodeAction(int i, int j) {
    return {"slope-node " + Cell(i, j),
            [=](const TSKIEngine& e) { return CheckSlopeStep(e, i, j, false); },
            [=](TSKIEngine& e, std::string& reason) {
                const size_t nodes = e.SlopePath.size();
                PointCursorAt(e, i, j);
                // A long forward segment gets its node from the tool's own update already.
                if (e.SlopePath.size() == nodes && e.SlopeSegmentValid) e.ToolClick();
                if (e.ConstructionTool == 3 && e.SlopePath.size() > nodes) {
                    return TSKIActionResult::Done;
                }
                reason = e.ToolText;
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction SlopeFinishAction(int i, int j) {
    return {"slope-finish " + Cell(i, j),
            [=](const TSKIEngine& e) { return CheckSlopeStep(e, i, j, true); },
            [=](TSKIEngine& e, std::string& reason) {
                PointCursorAt(e, i, j);
                if (!e.SlopeSegmentValid) {
                    reason = e.ToolText;
                    return TSKIActionResult::Failed;
                }
                const int32_t slopes = e.SlopeCount();
                e.ToolClick();
                if (e.SlopeCount() > slopes) return TSKIActionResult::Done;
                // A path whose legs cross something is dropped when it is finished.
                reason = e.ConstructionTool == 3 ? e.ToolText : "The slope could not be laid";
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
                if (e.Park.ParkTreesFelled < 1) return Check::Refused("No more trees needed!");
                if (e.Park.ParkCash < price) return Check::Refused("Not enough cash!");
                // A cell that holds a tree already has no room for another.
                if (!TreeRoom(e, i, j) || e.Cell(i, j).Tree) {
                    return Check::Refused("No room for a tree");
                }
                return Check::Allowed("Plant trees (Price: " + std::to_string(price) + ",- each)",
                                      price);
            },
            [=](TSKIEngine& e, std::string& reason) {
                if (e.PlantTree(i, j, e.Game().TreePrice)) {
                    e.CountTreesFelled();
                    return TSKIActionResult::Done;
                }
                reason = e.Park.ParkCash < e.Game().TreePrice ? "Not enough cash!"
                                                              : "No room for a tree";
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
                if (!InGrid(e, i, j)) return Check::Refused("Target out of reach!");
                const TSKIVector p = e.CellToWorld(i, j, false);
                if (std::hypot(p.x - b.Position.x, p.z - b.Position.z) >= kAreaReach) {
                    return Check::Refused("Target out of reach!");
                }
                return Check::Allowed("Set area of operations");
            },
            [=](TSKIEngine& e, std::string& reason) {
                e.StartAreaTool(building);
                PointCursorAt(e, i, j);
                e.ToolClick();
                const TSKIBuilding& b = *e.Buildings[building];
                if (e.ConstructionTool == 0 && b.AreaI == e.CursorI && b.AreaJ == e.CursorJ) {
                    return TSKIActionResult::Done;
                }
                reason = e.ToolText;
                e.CancelTool();
                return TSKIActionResult::Failed;
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
                if (e.DeleteSection(section, false)) return TSKIActionResult::Done;
                reason = "Not deleted";
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
                return e.DeleteBuilding(building) ? TSKIActionResult::Done
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
                for (const TSKIReplaceEntry& entry : e.ReplaceLiftMenu(lift)) {
                    if (entry.LiftType != newType || !entry.Visible) continue;
                    const int32_t price =
                        e.LiftPrice(s.LowerI, s.LowerJ, s.UpperI, s.UpperJ, newType);
                    if (!entry.Enabled) return Check::Refused("Not enough money!");
                    return Check::Allowed(entry.Caption, price);
                }
                return Check::Refused("This lift type is not offered");
            },
            // The engine checks the line, shows "Can not upgrade. " with the reason or asks
            // "Do you want to replace ...", and exchanges the lifts.
            [=](TSKIEngine& e, std::string& reason) {
                if (e.ReplaceLift(lift, newType, &reason)) return TSKIActionResult::Done;
                // No reason: the player answered No to the question.
                return reason.empty() ? TSKIActionResult::Declined : TSKIActionResult::Failed;
            }};
}

}  // namespace vallorn
