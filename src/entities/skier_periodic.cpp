// Once per game tick: a skier's needs by what it is doing, the crowd around it, its joy on
// the slope and in the snow, injuries that drain it until it is rescued or dies, and the
// accident test.
#include <algorithm>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSteepnessTiring = 0.05f;
constexpr float kCrowdPenalty = 25.0f;
constexpr float kMoodScale = 0.01f;
constexpr float kSlopeWidthScale = 15.0f;
constexpr float kDefaultSlopeWidth = 0.5f;
constexpr float kBeginnerSkill = 0.333f;
constexpr float kIntermediateSkill = 0.666f;
constexpr float kNeedLimit = 100.0f;

// Slopes suit a skill: gentle ones the beginners, middling ones the intermediates, steep
// ones the pros.
bool SuitsSkill(float skill, float steepness) {
    if (skill < kBeginnerSkill) return steepness < 1.5f;
    if (skill < kIntermediateSkill) return steepness > 1.5f && steepness < 2.5f;
    return steepness > 2.5f;
}

}  // namespace

bool TSKISkier::Periodic() {
    const TSKIGameParams& game = World.Params.Game;
    TSKIParkData& park = World.Park;
    float mood = 0;   // change of happiness by what the skier does
    float crowd = 0;  // penalty for the crowd on the cell

    switch (State) {
        case kSkierIdle:
        case kSkierSkiing:
            Cold += game.SlopeColdFactor * Cell.Height * park.ParkWeather;
            Energy += game.SlopeEnergyFactor - Cell.Steepness * kSteepnessTiring;
            crowd = float(int(Cell.Crowd) - 1) * kCrowdPenalty;
            if (State == kSkierSkiing) {
                float width = kDefaultSlopeWidth;
                if (Cell.NavLinkCount > 0) {
                    const TSKINavLink& first = Cell.NavLinks[0];
                    const TSKISection* slope = SectionAt(first.Section);
                    if (slope && slope->IsSlope() && first.Point >= 0 &&
                        size_t(first.Point) < slope->Points.size()) {
                        width = slope->Points[size_t(first.Point)].w / kSlopeWidthScale;
                    }
                }
                const float enjoy = game.EnjoySlopeFactor * width;
                mood = SuitsSkill(Skill, Cell.Steepness) ? 2.0f * enjoy : enjoy;
                if (Cell.Groomed) mood += game.EnjoySnowQualityFactor;
            }
            break;
        case kSkierOnLift: {
            const TSKILiftParams& lift =
                World.Params.Lifts[LiftType < kLiftTypeCount ? LiftType : 0];
            Cold += lift.ColdFactor;
            Energy += lift.EnergyFactor;
            break;
        }
        case kSkierWaiting:
            Cold += game.WaitColdFactor * Cell.Height * park.ParkWeather;
            Energy += game.WaitEnergyFactor;
            mood = game.UnHappyWaitFactor;
            break;
        case kSkierInBuilding:
            if (!Building) {
                Decide();
            } else if (TargetSpeed == 0) {  // seated
                const TSKIBuildingParams& type = Building->Params();
                mood = type.RefillHappiness;
                Energy += type.RefillEnergy;
                Hunger += type.RefillHunger;
                Cold += type.RefillCold;
            }
            break;
        case kSkierInjured:
            Energy -= game.DieFactor;
            // Rescue request: the vehicle that would reach the skier soonest takes it.
            if (TSKIVehicle* vehicle = World.FindRescueVehicle(*this)) vehicle->TakePatient(*this);
            if (Energy < -kNeedLimit && park.ParkSandboxDiff != kSandboxDiffUnlimited) {
                if (park.ParkLeftBecauseDied < kCounterCap) park.ParkLeftBecauseDied += 1;
                park.ParkRatingLeftDead -= game.RatingLeftDiedPenalty;
                World.ForgetPatient(this);
                return false;
            }
            break;
        default:  // leaving
            break;
    }

    Hunger += game.HungerFactor;
    Happiness += (Cold + Energy + Hunger - crowd) * kMoodScale + mood;
    const float low = park.ParkSandboxDiff == kSandboxDiffUnlimited ? 0.0f : -kNeedLimit;
    Cold = std::clamp(Cold, low, kNeedLimit);
    Hunger = std::clamp(Hunger, low, kNeedLimit);
    Happiness = std::clamp(Happiness, low, kNeedLimit);
    Energy = std::clamp(Energy, low, kNeedLimit);
    return true;
}

void TSKISkier::AccidentTest() {
    TSKIParkData& park = World.Park;
    if (park.ParkAccidentCooldown > 0 || State != kSkierSkiing || Speed < 4.0f) return;
    float bonus = 0;
    if (!Cell.NaturalSnow && !Cell.ArtificialSnow) bonus += 9.0f;
    if (Cell.Tree) bonus += 3.0f;
    const float risk = Cell.Steepness * 4.0f + bonus - Skill + Speed * 2.0f;
    if (20.0f + float(World.Rng.Range(0, 14)) < risk) {
        State = kSkierInjured;
        Injured = true;
        park.ParkAccidentCooldown = 10 + World.Rng.Range(0, 9);
    }
}

}  // namespace vallorn
