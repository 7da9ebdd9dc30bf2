#include "engine/invariants.h"

#include <cmath>
#include <unordered_map>

#include "engine/economy.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr size_t kMaxCellLines = 40;

template <typename T>
std::unordered_map<const T*, int32_t> IndexMap(const std::vector<std::unique_ptr<T>>& list) {
    std::unordered_map<const T*, int32_t> map;
    map.reserve(list.size());
    for (size_t k = 0; k < list.size(); ++k) map.emplace(list[k].get(), int32_t(k));
    return map;
}

class TChecker {
public:
    explicit TChecker(const TSKIEngine& e)
        : e_(e),
          sections_(IndexMap(e.Sections)),
          skiers_(IndexMap(e.Skiers)),
          buildings_(IndexMap(e.Buildings)) {}

    std::vector<std::string> Run() {
        // Where each skier is found: seats on carriers, seats in buildings, queue places.
        rides_.assign(e_.Skiers.size(), 0);
        seats_.assign(e_.Skiers.size(), 0);
        queues_.assign(e_.Skiers.size(), 0);
        for (size_t k = 0; k < e_.Sections.size(); ++k) CheckSection(k);
        for (size_t k = 0; k < e_.Buildings.size(); ++k) CheckBuilding(k);
        for (size_t k = 0; k < e_.Skiers.size(); ++k) CheckSkier(k);
        for (size_t k = 0; k < e_.Vehicles.size(); ++k) CheckVehicle(k);
        CheckCells();
        CheckAccounts();
        return std::move(problems_);
    }

private:
    std::string SectionName(const TSKISection& s, size_t k) const {
        return (s.IsLift() ? "lift " : "slope ") + std::to_string(k);
    }
    void Add(const std::string& who, const std::string& what) {
        problems_.push_back(who + ": " + what);
    }

    int32_t SkierIndex(const TSKISkier* s) const {
        const auto it = skiers_.find(s);
        return it == skiers_.end() ? -1 : it->second;
    }
    int32_t SectionIndex(const TSKISection* s) const {
        const auto it = sections_.find(s);
        return it == sections_.end() ? -1 : it->second;
    }
    int32_t BuildingIndex(const TSKIBuilding* b) const {
        const auto it = buildings_.find(b);
        return it == buildings_.end() ? -1 : it->second;
    }
    bool LiveLift(const TSKISection* s) const { return SectionIndex(s) >= 0 && s->IsLift(); }
    bool LiveSlope(const TSKISection* s) const { return SectionIndex(s) >= 0 && s->IsSlope(); }

    void CheckSection(size_t k) {
        const TSKISection& s = *e_.Sections[k];
        const std::string who = SectionName(s, k);
        if (!s.IsLift() && !s.IsSlope())
            Add(who, "kind " + std::to_string(s.Kind) + " is neither lift nor slope");
        if (!s.IsLift()) return;
        if (s.LiftType >= kLiftTypeCount)
            Add(who, "lift type " + std::to_string(s.LiftType) + " does not exist");
        if (s.QueueLength < 0 || s.QueueLength > kQueueSlots)
            Add(who, "queue length " + std::to_string(s.QueueLength) + " is out of range");
        for (size_t p = 0; p < s.QueueSlots.size(); ++p) {
            const TSKISkier* q = s.QueueSlots[p];
            if (!q) continue;
            const int32_t at = SkierIndex(q);
            if (at < 0) {
                Add(who, "queue place " + std::to_string(p) + " holds a skier who is gone");
                continue;
            }
            ++queues_[size_t(at)];
            if (q->CurrentSection != &s)
                Add(who, "queue place " + std::to_string(p) + " holds skier " + std::to_string(at) +
                             ", who is not at this lift");
        }
        bool loadingFound = s.LoadingCarrier == nullptr;
        const int capacity =
            s.LiftType < kLiftTypeCount ? int(s.Type().GondoleCapacity) : kMaxRiders;
        for (size_t c = 0; c < s.Carriers.size(); ++c) {
            const TSKIGondole& carrier = *s.Carriers[c];
            const std::string where = "carrier " + std::to_string(c);
            if (&carrier == s.LoadingCarrier) loadingFound = true;
            if (&carrier.Lift != &s) Add(who, where + " belongs to another lift");
            int riders = 0;
            for (size_t r = 0; r < carrier.Riders.size(); ++r) {
                const TSKISkier* rider = carrier.Riders[r];
                if (!rider) continue;
                ++riders;
                const int32_t at = SkierIndex(rider);
                if (at < 0) {
                    Add(who, where + " seat " + std::to_string(r) + " holds a skier who is gone");
                    continue;
                }
                ++rides_[size_t(at)];
                if (rider->State != kSkierOnLift || rider->CurrentSection != &s)
                    Add(who, where + " carries skier " + std::to_string(at) +
                                 ", who is not riding this lift");
            }
            if (riders != carrier.RiderCount)
                Add(who, where + " counts " + std::to_string(carrier.RiderCount) +
                             " riders but seats " + std::to_string(riders));
            if (riders > capacity)
                Add(who, where + " seats " + std::to_string(riders) + " riders, more than its " +
                             std::to_string(capacity) + " seats");
        }
        if (!loadingFound) Add(who, "the loading carrier is not one of its carriers");
    }

    void CheckBuilding(size_t k) {
        const TSKIBuilding& b = *e_.Buildings[k];
        const std::string who = "building " + std::to_string(k);
        if (b.Type >= kBuildingTypeCount) {
            Add(who, "type " + std::to_string(b.Type) + " does not exist");
            return;
        }
        int seated = 0;
        for (size_t p = 0; p < b.SeatOccupants.size(); ++p) {
            const TSKISkier* s = b.SeatOccupants[p];
            if (!s) continue;
            ++seated;
            const int32_t at = SkierIndex(s);
            if (at < 0) {
                Add(who, "seat " + std::to_string(p) + " holds a skier who is gone");
                continue;
            }
            ++seats_[size_t(at)];
            if (s->Building != &b)
                Add(who, "seat " + std::to_string(p) + " holds skier " + std::to_string(at) +
                             ", who is not in this building");
        }
        if (seated != b.Occupants)
            Add(who, "counts " + std::to_string(b.Occupants) + " visitors but seats " +
                         std::to_string(seated));
    }

    void CheckSkier(size_t k) {
        const TSKISkier& s = *e_.Skiers[k];
        const std::string who = "skier " + std::to_string(k);
        if (s.State >= kSkierStateCount)
            Add(who, "state " + std::to_string(s.State) + " does not exist");
        if (s.CurrentSection && SectionIndex(s.CurrentSection) < 0)
            Add(who, "current section is gone");
        const TSKINavLink& t = s.CurrentTarget;
        if (t.Section >= 0 && size_t(t.Section) >= e_.Sections.size()) {
            Add(who, "target section " + std::to_string(t.Section) + " does not exist");
        } else if (t.Section >= 0 && t.Point == kGatePoint &&
                   !e_.Sections[size_t(t.Section)]->IsLift()) {
            Add(who, "target is the gate of slope " + std::to_string(t.Section));
        }
        if (s.Building && BuildingIndex(s.Building) < 0) Add(who, "building is gone");
        if (s.State == kSkierWaiting && !LiveLift(s.CurrentSection))
            Add(who, "waits without a lift");
        if (s.State == kSkierOnLift && !LiveLift(s.CurrentSection))
            Add(who, "rides without a lift");
        if (rides_[k] > 1) Add(who, "sits on " + std::to_string(rides_[k]) + " carrier seats");
        if (rides_[k] > 0 && s.State != kSkierOnLift) Add(who, "sits on a carrier without riding");
        if (seats_[k] > 1) Add(who, "sits on " + std::to_string(seats_[k]) + " building seats");
        if (queues_[k] > 1) Add(who, "stands in " + std::to_string(queues_[k]) + " queue places");
    }

    void CheckVehicle(size_t k) {
        const TSKIVehicle& v = *e_.Vehicles[k];
        const std::string who = "vehicle " + std::to_string(k);
        if (v.Building < 0 || size_t(v.Building) >= e_.Buildings.size())
            Add(who, "home building " + std::to_string(v.Building) + " does not exist");
        if (v.PatientIndex < -1 || v.PatientIndex >= int32_t(e_.Skiers.size())) {
            Add(who, "patient " + std::to_string(v.PatientIndex) + " does not exist");
        } else if (v.PatientIndex >= 0 && !e_.Skiers[size_t(v.PatientIndex)]->RescueAssigned) {
            Add(who,
                "patient " + std::to_string(v.PatientIndex) + " is not marked as being rescued");
        }
    }

    void CheckCells() {
        if (!e_.HasGrid()) return;
        size_t bad = 0;
        auto cellProblem = [&](int i, int j, const std::string& what) {
            if (++bad <= kMaxCellLines)
                Add("cell (" + std::to_string(i) + ", " + std::to_string(j) + ")", what);
        };
        for (int i = 0; i < kGridSide; ++i) {
            for (int j = 0; j < kGridSide; ++j) {
                const TerrainCell& c = e_.Cell(i, j);
                const TSKISection* section = e_.SectionByIndex(c.Section);
                if (c.Section != -1 && !section) cellProblem(i, j, "section is gone");
                if (c.NearestSection != -1 && !e_.SectionByIndex(c.NearestSection))
                    cellProblem(i, j, "nearest section is gone");
                const TSKIBuilding* building = e_.BuildingByIndex(c.Building);
                if (c.Building != -1 && !building) cellProblem(i, j, "building is gone");
                switch (c.Kind) {
                    case kCellLiftLower:
                    case kCellLiftUpper:
                        if (!LiveLift(section)) cellProblem(i, j, "lift station of no lift");
                        break;
                    case kCellSlope:
                    case kCellSlopeCentre:
                        if (!LiveSlope(section)) cellProblem(i, j, "slope cell of no slope");
                        break;
                    case kCellBuilding:
                        if (!building) cellProblem(i, j, "building cell of no building");
                        break;
                    default:
                        break;
                }
                for (int n = 0; n < c.NavLinkCount && n < int(c.NavLinks.size()); ++n) {
                    const int32_t to = c.NavLinks[size_t(n)].Section;
                    if (to < 0 || size_t(to) >= e_.Sections.size())
                        cellProblem(
                            i, j,
                            "link to section " + std::to_string(to) + ", which does not exist");
                }
            }
        }
        if (bad > kMaxCellLines)
            problems_.push_back("and " + std::to_string(bad - kMaxCellLines) +
                                " more cell problems");
    }

    void CheckAccounts() {
        const TSKIParkData& p = e_.Park;
        if (p.ParkLoan < 0) Add("park", "loan " + std::to_string(p.ParkLoan) + " is negative");
        const int32_t interest = DailyLoanInterest(e_);
        if (p.ParkLoanInterest != interest)
            Add("park", "daily interest " + std::to_string(p.ParkLoanInterest) +
                            " does not match loan " + std::to_string(p.ParkLoan) + " (" +
                            std::to_string(interest) + ")");
        if (p.ParkLoanExpence < 0) Add("park", "interest paid is negative");
        if (p.ParkMarketingExpence < 0) Add("park", "marketing spent is negative");
        if (p.ParkEcoExpence < 0) Add("park", "tree planting spent is negative");
        if (e_.ArrivalBuilding && BuildingIndex(e_.ArrivalBuilding) < 0)
            Add("park", "arrival building is gone");
    }

    const TSKIEngine& e_;
    std::unordered_map<const TSKISection*, int32_t> sections_;
    std::unordered_map<const TSKISkier*, int32_t> skiers_;
    std::unordered_map<const TSKIBuilding*, int32_t> buildings_;
    std::vector<int> rides_, seats_, queues_;
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> CheckInvariants(const TSKIEngine& engine) {
    return TChecker(engine).Run();
}

}  // namespace vallorn
