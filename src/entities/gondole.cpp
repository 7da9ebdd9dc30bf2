// Lift carriers: motion round the cable loop with the slow-down at the stations, the loading
// point at the lower station, boarding with the ticket price, and setting riders down at the
// upper station.
#include "entities/gondole.h"

#include <algorithm>
#include <cmath>

#include "base/saturating.h"
#include "entities/section.h"
#include "entities/skier.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSlowSpeed = 2.0f;    // carriers crawl through the stations
constexpr float kSnapFactor = 1.5f;   // snap to a point closer than speed x dt x this
constexpr float kLoadingZone = 1.0f;  // the loading carrier is this close to point 0
constexpr float kAnchorJump = 1.0f;   // smoothing anchor follows beyond this
constexpr float kWheelZone = 1.1f;    // slow within this many line distances of a wheel
constexpr float kUpgradeSpeedGain = 0.33f;

float Distance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The horizontal unit vector of a direction; straight ahead (+z) when it has none.
TSKIVector Horizontal(const TSKIVector& d) {
    const float len = std::sqrt(d.x * d.x + d.z * d.z);
    if (len < 1e-6f) return {0, 0, 1, 0};
    return {d.x / len, 0, d.z / len, 0};
}

// The horizontal vector to the right of a horizontal heading.
TSKIVector RightOf(const TSKIVector& forward) {
    return {-forward.z, 0, forward.x, 0};
}

int Capacity(const TSKISection& lift) {
    return std::min<int>(lift.Type().GondoleCapacity, kMaxRiders);
}

}  // namespace

TSKIGondole::TSKIGondole(TSKISection& lift) : Lift(lift) {
    Unload();
}

void TSKIGondole::Init() {
    const std::vector<TSKIVector>& loop = Lift.DetailLine;
    Riders.fill(nullptr);
    RiderCount = 0;
    if (loop.empty()) {
        NextPoint = 0;
        return;
    }
    // The cable's first point is the lower station's boarding point.
    Position = loop.front();
    Position.w = 1;
    NextPoint = loop.size() > 1 ? 1 : 0;
    const TSKIVector to = loop[size_t(NextPoint)] - Position;
    const float len = std::sqrt(to.x * to.x + to.y * to.y + to.z * to.z);
    if (len > 1e-6f) Direction = TSKIVector(to.x / len, to.y / len, to.z / len, 0);
    SmoothingAnchor = Position;
    CellKind = kCellFree;
}

void TSKIGondole::Tick(float dt) {
    const std::vector<TSKIVector>& loop = Lift.DetailLine;
    const int n = int(loop.size());
    if (n == 0) return;
    const TSKILiftParams& type = Lift.Type();
    TSKIWorld& world = Lift.World;

    // 1. The smoothing anchor jumps when the carrier has moved away from it.
    if (Distance(Position, SmoothingAnchor) > kAnchorJump) SmoothingAnchor = Position;

    // 2.-3. Heading point; snap onto it when it is within one and a half steps. The loop
    // closes from the last point back to point 0.
    NextPoint = std::clamp(NextPoint, 0, n - 1);
    if (Distance(Position, loop[size_t(NextPoint)]) < type.Speed * dt * kSnapFactor) {
        Position = loop[size_t(NextPoint)];
        Position.w = 1;
        NextPoint = NextPoint + 1 > n - 1 ? 0 : NextPoint + 1;
    }

    // 4. Face the next point.
    const TSKIVector& target = loop[size_t(NextPoint)];
    const TSKIVector to(target.x - Position.x, target.y - Position.y, target.z - Position.z, 0);
    const float remaining = std::sqrt(to.x * to.x + to.y * to.y + to.z * to.z);
    if (remaining > 1e-6f) Direction = to / remaining;

    // 5. Slow zones: chairs and cabins crawl past the bull-wheels; surface lifts never slow.
    // The double chairlift slows at the lower station only.
    bool slow = false;
    if (Lift.LiftType >= kLiftDoubleChair) {
        const float zone = kWheelZone * type.LineDist;
        if ((NextPoint < 2 || NextPoint > n - 3) && Distance(Position, Lift.LowerWheel) < zone)
            slow = true;
        if (Lift.LiftType != kLiftDoubleChair && NextPoint > n / 2 - 2 && NextPoint < n / 2 + 2 &&
            Distance(Position, Lift.UpperWheel) < zone)
            slow = true;
    }

    // 6. Move. A step never passes the point it heads for, so a long frame cannot carry the
    // carrier off its cable.
    float step =
        slow ? dt * kSlowSpeed : dt * type.Speed * (1.0f + kUpgradeSpeedGain * Lift.UpgradeBonus);
    step = std::min(step, remaining);
    if (step > 0 && remaining > 1e-6f) {
        Position.x += Direction.x * step;
        Position.y += Direction.y * step;
        Position.z += Direction.z * step;
    }

    // 7. Riders sit in their seats; surface lifts drag them over the ground.
    for (int k = 0; k < kMaxRiders; ++k) {
        TSKISkier* rider = Riders[size_t(k)];
        if (!rider) continue;
        TSKIVector seat = SeatPosition(k);
        if (type.OnGround) seat.y = world.GroundHeight(seat) + kStandHeight;
        rider->Position = seat;
        rider->SmoothedPosition.y = seat.y;
    }

    // 8. The cell under the carrier.
    if (world.HasGrid()) {
        int i, j;
        TSKIWorld::WorldToCell(Position, i, j);
        CellKind = world.Cell(i, j).Kind;
    }

    // 9. Loading point: an open lift's carrier with a free seat near the cable's first point
    // takes skiers; the next one takes over only once this one has left the zone.
    const float fromStart = Distance(Position, loop.front());
    if (fromStart < kLoadingZone) {
        if (Lift.Status == kLiftOpen && HasFreeSeat() &&
            (Lift.LoadingCarrier == nullptr || Lift.LoadingCarrier == this))
            Lift.LoadingCarrier = this;
    } else if (Lift.LoadingCarrier == this) {
        Lift.LoadingCarrier = nullptr;
    }

    // 10. Riders get off at the upper station.
    if (CellKind == kCellLiftUpper) Unload();
}

bool TSKIGondole::HasFreeSeat() const {
    return FreeSeat() < Capacity(Lift);
}

int TSKIGondole::FreeSeat() const {
    const int capacity = Capacity(Lift);
    int seat = 0;
    while (seat < capacity && Riders[size_t(seat)] != nullptr) ++seat;
    return seat;
}

void TSKIGondole::RemoveRider(const TSKISkier* skier) {
    // The riders behind move up, so the seats stay compact and the count stays true.
    int kept = 0;
    for (int k = 0; k < kMaxRiders; ++k) {
        TSKISkier* rider = Riders[size_t(k)];
        if (rider == nullptr || rider == skier) continue;
        Riders[size_t(kept++)] = rider;
    }
    for (int k = kept; k < kMaxRiders; ++k) Riders[size_t(k)] = nullptr;
    RiderCount = uint8_t(kept);
}

bool TSKIGondole::Board(TSKISkier& skier) {
    // 1. Full: no free seat.
    const int seat = FreeSeat();
    if (seat >= Capacity(Lift)) return false;

    // 2. Price check: a ticket dearer than the skier is willing to pay for this lift's
    // quality costs happiness, and a skier pushed below -100 stays in the queue.
    TSKIWorld& world = Lift.World;
    const int32_t price = Lift.TicketPrice;
    if (price > 0) {
        const float quality = Lift.Type().ServiceQuality + Lift.UpgradeBonus;
        const float willing = quality * float(skier.SpendingLimit);
        if (float(price) > willing) {
            skier.Happiness -= (float(price) - willing) * world.Params.Game.TooExpensivePenalty;
            Lift.TooExpensiveCount = CappedAdd(Lift.TooExpensiveCount, 1);
            if (skier.Happiness < -100.0f) return false;
        }
    }

    // 3. Seat: the first free one.
    Riders[size_t(seat)] = &skier;
    RiderCount = uint8_t(std::count_if(Riders.begin(), Riders.end(),
                                       [](const TSKISkier* r) { return r != nullptr; }));

    // 4. Payment.
    skier.Money -= price;
    AddTo(world.Park.ParkCash, price);
    AddTo(Lift.TotalIncome, price);
    Lift.CurrentTakings = CappedAdd(Lift.CurrentTakings, price);
    Lift.CustomersServed = CappedAdd(Lift.CustomersServed, 1);
    return true;
}

void TSKIGondole::Unload() {
    // The seats are emptied first: a rider's decision may reach back into the lift.
    const int r = RiderCount;
    std::array<TSKISkier*, kMaxRiders> riders = Riders;
    Riders.fill(nullptr);
    RiderCount = 0;
    if (r == 0) return;

    TSKIWorld& world = Lift.World;
    const TSKIVector forward = Horizontal(Direction);
    const TSKIVector right = RightOf(forward);
    const float spread = float(r - 1);
    for (TSKISkier* rider : riders) {
        // Only skiers still riding are set down; one that has already left its seat keeps
        // what it is doing.
        if (!rider || rider->State != kSkierOnLift) continue;
        rider->State = kSkierIdle;
        // Riders spread out so that they do not all stand on one spot.
        const float ahead = float(world.Rng.Uniform()) * spread;
        const float aside = float(world.Rng.Uniform()) * spread - spread / 2;
        rider->Position.x += forward.x * ahead + right.x * aside;
        rider->Position.z += forward.z * ahead + right.z * aside;
        if (world.HasGrid()) rider->Position.y = world.GroundHeight(rider->Position) + kStandHeight;
        rider->SmoothedPosition.y = rider->Position.y;
        rider->Decide();
    }
}

TSKIVector TSKIGondole::SeatPosition(int k) const {
    const TSKIVector forward = Horizontal(Direction);
    const TSKIVector right = RightOf(forward);
    const TSKIVector o = Lift.Type().GondoleOffsets[size_t(std::clamp(k, 0, kMaxRiders - 1))];
    return {Position.x + right.x * o.x + forward.x * o.z, Position.y + o.y,
            Position.z + right.z * o.x + forward.z * o.z, 1};
}

}  // namespace vallorn
