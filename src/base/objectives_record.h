// The objectives of a mission as the saved game keeps them: the record of one objective and
// the SKIObjectives section that holds the list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/types.h"

namespace vallorn {

class TIniFile;

constexpr int kObjectiveUnlocks = 5;
constexpr uint8_t kObjectiveTypeCount = 21;    // types 0..20
constexpr uint8_t kObjectiveRewardCount = 12;  // rewards 0..11

// What rewards and the profile file may set in the player's terms: friends who come every
// morning (no more than a park holds), the bank's daily interest in percent, the loan limit and
// the marketing and PR prices.
constexpr int32_t kMaxFriends = kMaxParkSkiers;
constexpr int32_t kMaxLoanInterest = 100;
constexpr int32_t kMaxLoanLimit = 100000000;
constexpr int32_t kMaxCampaignPrice = 1000000;

// A reward's value held to what that reward can take (cash rewards and blueprint indexes are
// taken as they are: cash saturates, an index the game does not know unlocks nothing).
int32_t BoundedRewardValue(uint8_t reward, int32_t value);

struct TSKIObjective {
    uint8_t Type = 0;
    bool Completed = false;
    bool Active = false;
    std::string Name = "NoName";
    std::string Description = "NoDescription";
    std::array<std::string, kObjectiveUnlocks> UnlocksObjectives{};
    std::array<std::string, kObjectiveUnlocks> UnlocksMissions{};
    int32_t Value = 0;
    int32_t GridX = 0, GridY = 0;
    int32_t TimeGoal = 0;     // clock ticks; 0 or less: no time limit
    int32_t TimeStarted = 0;  // ParkTime when it became active
    bool Primary = true;
    uint8_t Reward = 0;
    int32_t RewardValue = 0;
    bool Announced = false;  // not stored: read back as Completed
    bool Reversible = false;
    std::string Help;

    bool operator==(const TSKIObjective&) const = default;
};

// Writes the section SKIObjectives (erasing what it held). `skip` -1 writes every objective;
// otherwise the objective at that index is left out and the later ones move down by one.
void WriteObjectives(TIniFile& file, const std::vector<TSKIObjective>& objectives, int skip = -1);

// Reads the list from SKIObjectives: ObjCount objectives, missing keys taking their defaults.
// Returns false with a one-line reason (and leaves `out` untouched) when a value is out of
// its range: a negative or absurd count, a type or reward code the game does not know, or a
// number that does not fit its field. A reward value is held by BoundedRewardValue.
bool ReadObjectives(const TIniFile& file, std::vector<TSKIObjective>& out, std::string* error);

}  // namespace vallorn
