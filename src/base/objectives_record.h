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

// Objective types, numbered as mission, level and saved-game files store them.
enum TSKIObjectiveType : uint8_t {
    kObjectiveMoney = 0,            // cash at least V and no bank loan
    kObjectiveRating = 1,           // rating points
    kObjectiveSkiers = 2,           // skiers in the park
    kObjectiveReachLocation = 3,    // a skier near a place
    kObjectiveEcology = 4,          // at most V trees cut down
    kObjectiveSlopeKilometres = 5,  // kilometres of slopes
    kObjectiveSnowQuality = 6,      // snow quality in percent
    kObjectiveBuildBuilding = 7,    // a building of type V built
    kObjectiveBuildLift = 8,        // a lift of kind V built
    kObjectiveWait = 9,             // waits for its time limit, then opens what it unlocks
    kObjectiveFind = 10,            // the camera brought near a place
    kObjectiveLiftRating = 11,      // rating points from lifts
    kObjectiveBuildingRating = 12,  // rating points from buildings
    kObjectiveRaceRecord = 13,      // the downhill record of the slope at a place beaten
    kObjectiveRatingPercent = 14,   // rating in percent
    kObjectiveSkierHappiness = 15,  // average skier happiness
    kObjectiveSkierCold = 16,       // average skier cold
    kObjectiveSkierHunger = 17,     // average skier hunger
    kObjectiveSkierEnergy = 18,     // average skier energy
    kObjectiveLongestSlope = 19,    // a slope at least V metres long, skied
    kObjectiveLongestLift = 20,     // a lift at least V metres long
};
constexpr uint8_t kObjectiveTypeCount = kObjectiveLongestLift + 1;

// Rewards of a completed objective, numbered as the files store them.
enum TSKIObjectiveReward : uint8_t {
    kRewardNothing = 0,
    kRewardMoney = 1,
    kRewardFriends = 2,
    kRewardUnlockLift = 3,
    kRewardUnlockBuilding = 4,
    kRewardLowerInterest = 5,
    kRewardHigherLoanLimit = 6,
    kRewardCheapMarketing = 7,
    kRewardNormalMarketing = 8,
    kRewardVIPMarketing = 9,
    kRewardPRCampaign = 10,
    kRewardPopularity = 11,
};
constexpr uint8_t kObjectiveRewardCount = kRewardPopularity + 1;

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
