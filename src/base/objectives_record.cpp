#include "base/objectives_record.h"

#include <algorithm>
#include <limits>

#include "base/ini_file.h"

namespace vallorn {

namespace {

constexpr const char* kSection = "SKIObjectives";
constexpr int64_t kMaxObjectives = 10000;

std::string Key(const char* name, size_t index) {
    return std::string(name) + std::to_string(index);
}

std::string UnlockKey(const char* name, int k, size_t index) {
    // The unlock number (one digit) comes first, then the objective's index.
    return std::string(name) + std::to_string(k) + std::to_string(index);
}

}  // namespace

int32_t BoundedRewardValue(uint8_t reward, int32_t value) {
    switch (reward) {
        case 2:  // friends
            return std::clamp(value, 0, kMaxFriends);
        case 5:  // the bank's interest
            return std::clamp(value, 0, kMaxLoanInterest);
        case 6:  // the loan limit
            return std::clamp(value, 0, kMaxLoanLimit);
        case 7:  // the marketing and PR prices
        case 8:
        case 9:
        case 10:
            return std::clamp(value, 0, kMaxCampaignPrice);
        default:
            return value;
    }
}

void WriteObjectives(TIniFile& file, const std::vector<TSKIObjective>& objectives, int skip) {
    file.EraseSection(kSection);
    const bool skipping = skip >= 0 && size_t(skip) < objectives.size();
    file.WriteInteger(kSection, "ObjCount", int64_t(objectives.size()) - (skipping ? 1 : 0));
    size_t n = 0;
    for (size_t k = 0; k < objectives.size(); ++k) {
        if (skipping && k == size_t(skip)) continue;
        const TSKIObjective& o = objectives[k];
        file.WriteInteger(kSection, Key("ObjectiveType", n), o.Type);
        file.WriteBool(kSection, Key("ObjectiveCompleted", n), o.Completed);
        file.WriteBool(kSection, Key("ObjectiveActive", n), o.Active);
        file.WriteBool(kSection, Key("ObjectiveReversible", n), o.Reversible);
        file.WriteString(kSection, Key("ObjectiveName", n), o.Name);
        file.WriteString(kSection, Key("ObjectiveDescription", n), o.Description);
        for (int u = 0; u < kObjectiveUnlocks; ++u)
            file.WriteString(kSection, UnlockKey("ObjectiveUnlocksObjective", u, n),
                             o.UnlocksObjectives[size_t(u)]);
        for (int u = 0; u < kObjectiveUnlocks; ++u)
            file.WriteString(kSection, UnlockKey("ObjectiveUnlocksMission", u, n),
                             o.UnlocksMissions[size_t(u)]);
        file.WriteInteger(kSection, Key("ObjectiveValue", n), o.Value);
        file.WriteInteger(kSection, Key("ObjectiveGridX", n), o.GridX);
        file.WriteInteger(kSection, Key("ObjectiveGridY", n), o.GridY);
        file.WriteInteger(kSection, Key("ObjectiveTimeGoal", n), o.TimeGoal);
        file.WriteInteger(kSection, Key("ObjectiveTimeStarted", n), o.TimeStarted);
        file.WriteBool(kSection, Key("ObjectivePrimary", n), o.Primary);
        file.WriteInteger(kSection, Key("ObjectiveReward", n), o.Reward);
        file.WriteInteger(kSection, Key("ObjectiveRewardValue", n), o.RewardValue);
        file.WriteString(kSection, Key("ObjectiveHelp", n), o.Help);
        ++n;
    }
}

bool ReadObjectives(const TIniFile& file, std::vector<TSKIObjective>& out, std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    const int64_t count = file.ReadInteger(kSection, "ObjCount", 0);
    if (count < 0 || count > kMaxObjectives)
        return fail("objective count " + std::to_string(count) + " is out of range");

    std::vector<TSKIObjective> list(static_cast<size_t>(count));
    for (size_t n = 0; n < list.size(); ++n) {
        TSKIObjective& o = list[n];
        const std::string at = " of objective " + std::to_string(n);
        // An integer key that must fit [lo, hi].
        auto number = [&](const char* name, int64_t def, int64_t lo, int64_t hi, int64_t& v) {
            v = file.ReadInteger(kSection, Key(name, n), def);
            if (v < lo || v > hi)
                return fail(std::string(name) + " " + std::to_string(v) + at + " is out of range");
            return true;
        };
        constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
        constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
        int64_t v = 0;
        if (!number("ObjectiveType", 0, 0, kObjectiveTypeCount - 1, v)) return false;
        o.Type = uint8_t(v);
        o.Completed = file.ReadBool(kSection, Key("ObjectiveCompleted", n), false);
        o.Active = file.ReadBool(kSection, Key("ObjectiveActive", n), false);
        o.Reversible = file.ReadBool(kSection, Key("ObjectiveReversible", n), false);
        o.Name = file.ReadString(kSection, Key("ObjectiveName", n), "NoName");
        o.Description = file.ReadString(kSection, Key("ObjectiveDescription", n), "NoDescription");
        for (int u = 0; u < kObjectiveUnlocks; ++u) {
            o.UnlocksObjectives[size_t(u)] =
                file.ReadString(kSection, UnlockKey("ObjectiveUnlocksObjective", u, n));
            o.UnlocksMissions[size_t(u)] =
                file.ReadString(kSection, UnlockKey("ObjectiveUnlocksMission", u, n));
        }
        if (!number("ObjectiveValue", 0, kMin, kMax, v)) return false;
        o.Value = int32_t(v);
        if (!number("ObjectiveGridX", 0, kMin, kMax, v)) return false;
        o.GridX = int32_t(v);
        if (!number("ObjectiveGridY", 0, kMin, kMax, v)) return false;
        o.GridY = int32_t(v);
        if (!number("ObjectiveTimeGoal", 0, kMin, kMax, v)) return false;
        o.TimeGoal = int32_t(v);
        if (!number("ObjectiveTimeStarted", 0, kMin, kMax, v)) return false;
        o.TimeStarted = int32_t(v);
        o.Primary = file.ReadBool(kSection, Key("ObjectivePrimary", n), true);
        if (!number("ObjectiveReward", 0, 0, kObjectiveRewardCount - 1, v)) return false;
        o.Reward = uint8_t(v);
        if (!number("ObjectiveRewardValue", 0, kMin, kMax, v)) return false;
        o.RewardValue = BoundedRewardValue(o.Reward, int32_t(v));
        o.Help = file.ReadString(kSection, Key("ObjectiveHelp", n));
        o.Announced = o.Completed;
    }
    out = std::move(list);
    return true;
}

}  // namespace vallorn
