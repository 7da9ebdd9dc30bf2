// Replacing a lift by one of the chair or cabin types between the same two stations: the
// submenu with the full price of each offer, the checks, the question and the exchange.
#include <algorithm>

#include "construction/tool_geometry.h"

namespace vallorn {

using namespace construction;

namespace {

struct TOffer {
    uint8_t type;
    const char* caption;
};
// The submenu's entries in their order; platter lifts and T-bars are never offered.
constexpr TOffer kOffers[] = {{2, "Double chairlift ("},
                              {3, "Quad chairlift ("},
                              {6, "Six chairlift ("},
                              {4, "Cable car ("},
                              {5, "Aerial tram ("}};

bool Offered(uint8_t type) {
    return std::any_of(std::begin(kOffers), std::end(kOffers),
                       [type](const TOffer& o) { return o.type == type; });
}

// The checks of a replacement, later failures overwriting earlier ones; empty when none.
std::string ReplacementProblem(const TSKIEngine& e, const TSKISection& lift, uint8_t newType,
                               int32_t price) {
    const TSKILiftParams& type = e.Params.Lifts[newType];
    std::string reason;
    if (e.Park.ParkCash < price) reason = "Not enough money!";
    // A replacement may not cross a road or a building whatever its type, and is tested as if
    // the old lift were already gone, so that one that could not be built never costs it.
    const std::vector<TSKIVector> line =
        SampleLine(e, e.CellToWorld(lift.LowerI, lift.LowerJ, true),
                   e.CellToWorld(lift.UpperI, lift.UpperJ, true), 5.0f);
    if (LiftLineBlocked(e, type, line, &lift, Kinds({kCellRoad, kCellBuilding})))
        reason = "Invalid location!";
    const float length = SampledLength(line);
    if (length < 2 * type.PoleMinDist) reason = "Lift too short!";
    if (length > type.MaxLength) reason = "Lift too long!";
    return reason;
}

}  // namespace

bool ReplaceMenuShown(const std::vector<TSKIReplaceEntry>& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](const TSKIReplaceEntry& entry) { return entry.Enabled; });
}

std::vector<TSKIReplaceEntry> ReplaceLiftMenu(const TSKIEngine& e, size_t liftIndex) {
    std::vector<TSKIReplaceEntry> entries;
    if (liftIndex >= e.Sections.size() || !e.Sections[liftIndex]->IsLift()) return entries;
    const TSKISection& lift = *e.Sections[liftIndex];
    for (const TOffer& offer : kOffers) {
        TSKIReplaceEntry entry;
        entry.LiftType = offer.type;
        entry.Visible = offer.type != lift.LiftType && LiftUnlocked(e, offer.type);
        if (entry.Visible) {
            const int32_t price =
                LiftPrice(e, lift.LowerI, lift.LowerJ, lift.UpperI, lift.UpperJ, offer.type);
            entry.Caption = offer.caption + FormatMoney(price) + ")";
            entry.Enabled = e.Park.ParkCash >= price;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool ReplaceLift(TSKIEngine& e, size_t liftIndex, uint8_t newType, std::string* problem) {
    auto refuse = [problem](const std::string& why) {
        if (problem) *problem = why;
        return false;
    };
    if (!e.HasGrid() || liftIndex >= e.Sections.size() || !e.Sections[liftIndex]->IsLift())
        return refuse("No such lift");
    if (newType >= kLiftTypeCount || !Offered(newType))
        return refuse("This lift type is not offered");
    const TSKISection& lift = *e.Sections[liftIndex];
    const int lowerI = lift.LowerI, lowerJ = lift.LowerJ;
    const int upperI = lift.UpperI, upperJ = lift.UpperJ;
    const int32_t price = LiftPrice(e, lowerI, lowerJ, upperI, upperJ, newType);
    const std::string reason = ReplacementProblem(e, lift, newType, price);
    if (!reason.empty()) {
        e.Dialogs->ShowError("Can not upgrade. " + reason);
        return refuse(reason);
    }
    const std::string question = "Do you want to replace " + lift.Name + " with " +
                                 LiftTypeName(e.Params.Lifts[newType]) +
                                 " ?\rPrice: " + FormatMoney(price);
    if (!e.Dialogs->AskYesNo(question, true)) return refuse({});
    DeleteSection(e, liftIndex, false);
    CreateNewLift(e, lowerI, lowerJ, upperI, upperJ, newType, price);
    return true;
}

}  // namespace vallorn
