#include "persistence/saved_game_blocks.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "base/params.h"
#include "entities/vehicle.h"

namespace vallorn {

namespace {

// Writes little-endian values at fixed offsets of a zeroed block.
class Writer {
public:
    explicit Writer(size_t size) : b_(size, 0) {}
    void U8(size_t at, uint8_t v) { b_[at] = v; }
    void U16(size_t at, uint16_t v) { U32Bytes(at, v, 2); }
    void I32(size_t at, int32_t v) { U32Bytes(at, uint32_t(v), 4); }
    void F32(size_t at, float v) { U32Bytes(at, std::bit_cast<uint32_t>(v), 4); }
    void Vec(size_t at, const TSKIVector& v) {
        F32(at, v.x), F32(at + 4, v.y), F32(at + 8, v.z), F32(at + 12, v.w);
    }
    TSKIBlock Take() { return std::move(b_); }

private:
    void U32Bytes(size_t at, uint32_t v, int n) {
        for (int k = 0; k < n; ++k) b_[at + size_t(k)] = uint8_t(v >> (8 * k));
    }
    TSKIBlock b_;
};

// Reads little-endian values; remembers whether any float was not finite.
class Reader {
public:
    explicit Reader(const TSKIBlock& b) : b_(b) {}
    uint8_t U8(size_t at) const { return b_[at]; }
    uint16_t U16(size_t at) const { return uint16_t(Bytes(at, 2)); }
    int32_t I32(size_t at) const { return int32_t(Bytes(at, 4)); }
    float F32(size_t at) {
        const float f = std::bit_cast<float>(Bytes(at, 4));
        if (!std::isfinite(f)) finite_ = false;
        return f;
    }
    TSKIVector Vec(size_t at) { return {F32(at), F32(at + 4), F32(at + 8), F32(at + 12)}; }
    bool Finite() const { return finite_; }

private:
    uint32_t Bytes(size_t at, int n) const {
        uint32_t v = 0;
        for (int k = 0; k < n; ++k) v |= uint32_t(b_[at + size_t(k)]) << (8 * k);
        return v;
    }
    const TSKIBlock& b_;
    bool finite_ = true;
};

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

bool CheckSize(const TSKIBlock& block, size_t size, const char* what, std::string& error) {
    if (block.size() == size) return true;
    return Fail(error, std::string(what) + " block has " + std::to_string(block.size()) +
                           " bytes instead of " + std::to_string(size));
}

bool PlausibleDirection(const TSKIVector& d) {
    return std::fabs(d.x) <= kDirectionLimit && std::fabs(d.y) <= kDirectionLimit &&
           std::fabs(d.z) <= kDirectionLimit && std::fabs(d.w) <= kDirectionLimit;
}

}  // namespace

bool PlausiblePosition(const TSKIVector& p) {
    return p.x >= kWorldMinX && p.x <= kWorldMaxX && p.z >= kWorldMinZ && p.z <= kWorldMaxZ &&
           std::fabs(p.y) <= kHeightLimit && std::fabs(p.w) <= kHeightLimit;
}

TSKIBlock PackSkier(const TSKISkierRecord& r) {
    Writer w(kSkierBlockSize);
    w.U8(0, r.LiftType);
    w.I32(4, r.Money);
    w.I32(8, r.SpendingLimit);
    w.F32(12, r.Cold), w.F32(16, r.Hunger), w.F32(20, r.Happiness);
    w.F32(24, r.Skill), w.F32(28, r.Energy);
    w.U8(32, r.Injured ? 1 : 0);
    w.Vec(36, r.Position);
    w.U8(52, r.Leaving ? 1 : 0);
    return w.Take();
}

bool UnpackSkier(const TSKIBlock& block, TSKISkierRecord& r, std::string& error) {
    if (!CheckSize(block, kSkierBlockSize, "skier", error)) return false;
    Reader in(block);
    r.LiftType = in.U8(0);
    r.Money = in.I32(4);
    r.SpendingLimit = in.I32(8);
    r.Cold = in.F32(12), r.Hunger = in.F32(16), r.Happiness = in.F32(20);
    r.Skill = in.F32(24), r.Energy = in.F32(28);
    r.Injured = in.U8(32) != 0;
    r.Position = in.Vec(36);
    r.Leaving = in.U8(52) != 0;
    if (!in.Finite()) return Fail(error, "skier block holds a number that is not finite");
    if (r.LiftType >= kLiftTypeCount)
        return Fail(error, "skier block names lift kind " + std::to_string(r.LiftType));
    // A skier outside the grid is let go by the loader; one inside must stand at a height.
    if (std::fabs(r.Position.y) > kHeightLimit || std::fabs(r.Position.w) > kHeightLimit)
        return Fail(error, "skier block holds a height out of range");
    for (float* need : {&r.Cold, &r.Hunger, &r.Happiness, &r.Energy})
        *need = std::clamp(*need, -100.0f, 100.0f);
    r.Skill = std::clamp(r.Skill, 0.0f, 1.0f);
    return true;
}

TSKIBlock PackSection(const TSKISectionBlock& b) {
    const TSKILiftRecord& r = b.Record;
    Writer w(kSectionBlockSize);
    w.U8(0, r.LiftType);
    w.U8(1, r.Status);
    w.U16(2, r.TicketPrice);
    w.U16(4, b.RunningCost);
    w.I32(8, r.TotalIncome);
    w.I32(12, r.TotalExpense);
    w.I32(16, r.InvestedMoney);
    w.U8(20, r.Filling ? 1 : 0);
    w.U16(22, r.TooExpensiveCount);
    w.U16(24, r.CustomersServed);
    w.F32(28, r.UpgradeBonus);
    return w.Take();
}

bool UnpackSection(const TSKIBlock& block, TSKISectionBlock& b, std::string& error) {
    if (!CheckSize(block, kSectionBlockSize, "section", error)) return false;
    Reader in(block);
    TSKILiftRecord& r = b.Record;
    r.LiftType = in.U8(0);
    r.Status = in.U8(1);
    r.TicketPrice = in.U16(2);
    b.RunningCost = in.U16(4);
    r.TotalIncome = in.I32(8);
    r.TotalExpense = in.I32(12);
    r.InvestedMoney = in.I32(16);
    r.Filling = in.U8(20) != 0;
    r.TooExpensiveCount = in.U16(22);
    r.CustomersServed = in.U16(24);
    r.UpgradeBonus = in.F32(28);
    if (!in.Finite()) return Fail(error, "section block holds a number that is not finite");
    if (r.LiftType >= kLiftTypeCount)
        return Fail(error, "section block names lift type " + std::to_string(r.LiftType));
    if (r.Status > kLiftBroken)
        return Fail(error, "section block names lift status " + std::to_string(r.Status));
    r.UpgradeBonus = std::clamp(r.UpgradeBonus, 0.0f, kUpgradeBonusMax);
    return true;
}

TSKIBlock PackBuilding(const TSKIBuildingBlock& b) {
    const TSKIBuildingRecord& r = b.Record;
    Writer w(kBuildingBlockSize);
    w.U8(0, r.Type);
    w.U8(1, r.Open ? 1 : 0);
    w.U16(2, r.Occupants);
    w.U16(4, r.ServicePrice);
    w.Vec(8, r.Position);
    w.Vec(24, r.Direction);
    w.I32(40, b.CellI), w.I32(44, b.CellJ);
    w.U16(48, r.CustomersServed);
    w.U16(50, r.TotalIncome);
    w.U16(52, r.TotalExpense);
    w.U16(54, r.TooExpensiveCount);
    w.I32(56, b.AreaI), w.I32(60, b.AreaJ);
    w.U8(64, b.CostsForgotten);
    w.F32(68, r.UpgradeBonus);
    return w.Take();
}

bool UnpackBuilding(const TSKIBlock& block, TSKIBuildingBlock& b, std::string& error) {
    if (!CheckSize(block, kBuildingBlockSize, "building", error)) return false;
    Reader in(block);
    TSKIBuildingRecord& r = b.Record;
    r.Type = in.U8(0);
    r.Open = in.U8(1) != 0;
    r.Occupants = in.U16(2);
    r.ServicePrice = in.U16(4);
    r.Position = in.Vec(8);
    r.Direction = in.Vec(24);
    b.CellI = in.I32(40), b.CellJ = in.I32(44);
    r.CustomersServed = in.U16(48);
    r.TotalIncome = in.U16(50);
    r.TotalExpense = in.U16(52);
    r.TooExpensiveCount = in.U16(54);
    b.AreaI = in.I32(56), b.AreaJ = in.I32(60);
    b.CostsForgotten = in.U8(64);
    r.UpgradeBonus = in.F32(68);
    if (!in.Finite()) return Fail(error, "building block holds a number that is not finite");
    if (r.Type >= kBuildingTypeCount)
        return Fail(error, "building block names building type " + std::to_string(r.Type));
    if (!PlausiblePosition(r.Position) || !PlausibleDirection(r.Direction))
        return Fail(error, "building block holds a position or direction out of range");
    r.UpgradeBonus = std::clamp(r.UpgradeBonus, 0.0f, kUpgradeBonusMax);
    return true;
}

TSKIBlock PackVehicle(const TSKIVehicleBlock& b) {
    Writer w(kVehicleBlockSize);
    w.U8(0, b.Type);
    const uint32_t patient =
        b.Patient >= 0 && b.Patient <= kMaxSavedPatient ? uint32_t(b.Patient) + 1 : 0;
    for (size_t k = 0; k < 3; ++k) w.U8(1 + k, uint8_t(patient >> (8 * k)));
    w.Vec(4, b.Position);
    w.Vec(20, b.Heading);
    w.I32(36, b.Home);
    w.I32(40, b.Target);
    w.I32(44, b.Slot);
    return w.Take();
}

bool UnpackVehicle(const TSKIBlock& block, TSKIVehicleBlock& b, std::string& error) {
    if (!CheckSize(block, kVehicleBlockSize, "vehicle", error)) return false;
    Reader in(block);
    b.Type = in.U8(0);
    b.Patient = int32_t(in.U8(1) | in.U8(2) << 8 | in.U8(3) << 16) - 1;
    b.Position = in.Vec(4);
    b.Heading = in.Vec(20);
    b.Home = in.I32(36);
    b.Target = in.I32(40);
    b.Slot = in.I32(44);
    if (!in.Finite()) return Fail(error, "vehicle block holds a number that is not finite");
    if (b.Type != kVehicleSnowmobile && b.Type != kVehicleHelicopter && b.Type != kVehicleSnowcat)
        return Fail(error, "vehicle block names vehicle type " + std::to_string(b.Type));
    if (!PlausiblePosition(b.Position) || !PlausibleDirection(b.Heading))
        return Fail(error, "vehicle block holds a position or heading out of range");
    if (b.Slot < 0 || b.Slot > kVehicleSlotMax)
        return Fail(error, "vehicle block names slot " + std::to_string(b.Slot));
    return true;
}

}  // namespace vallorn
