// The description of a skier that follows the cursor in the 3D view.
#include <cmath>

#include "base/number_format.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kHoverReach = 4.0f;

const char* StateText(const TSKISkier& skier) {
    switch (skier.State) {
        case kSkierIdle:
            return ":idle";
        case kSkierOnLift:
            return ":on lift";
        case kSkierSkiing:
            return ":skiing";
        case kSkierWaiting:
            return ":waiting";
        case kSkierLeaving:
            return ":leaving";
        case kSkierInjured:
            return ":injured";
        case kSkierInBuilding:
            if (!skier.Building) return "";
            switch (skier.Building->Type) {
                case kBuildStall:
                case kBuildSnowBar:
                case kBuildSelfService:
                case kBuildKiosk:
                    return ":dining";
                case kBuildCot:
                    return ":resting";
                case kBuildShelter:
                    return ":in shelter";
                case kBuildSightseeing:
                    return ":sightseeing";
                default:
                    return "";
            }
        default:
            return "";
    }
}

// A need of -100..100 shown as 0..100 percent, rounded half to even.
std::string Percent(float need) {
    return std::to_string(int(std::nearbyint(need / 2.0f + 50.0f))) + "%";
}

}  // namespace

std::string TSKISkier::HoverText(int32_t index) const {
    std::string text = "Skier " + std::to_string(index) + StateText(*this);
    text += "\rHappiness:" + Percent(Happiness);
    text += "\rCold:" + Percent(Cold);
    text += "\rHunger:" + Percent(Hunger);
    text += "\rEnergy:" + Percent(Energy);
    text += "\rMoney:" + FormatMoney(Money);
    text += "\rSpend. limit:" + FormatMoney(SpendingLimit);
    if (Skill < 0.33f) {
        text += "\rSkill:beginner";
    } else if (Skill < 0.66f) {
        text += "\rSkill:intermediate";
    } else {
        text += "\rSkill:pro";
    }
    return text;
}

std::string TSKIWorld::NearestSkierText(const TSKIVector& groundPoint) const {
    int ci, cj;
    WorldToCell(groundPoint, ci, cj);
    int32_t best = -1;
    float bestDistance = kHoverReach;
    for (size_t k = 0; k < Skiers.size(); ++k) {
        const TSKISkier& skier = *Skiers[k];
        int si, sj;
        WorldToCell(skier.Position, si, sj);
        if (si != ci || sj != cj) continue;
        const float dx = skier.Position.x - groundPoint.x;
        const float dy = skier.Position.y - groundPoint.y;
        const float dz = skier.Position.z - groundPoint.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int32_t(k);
        }
    }
    return best < 0 ? std::string() : Skiers[size_t(best)]->HoverText(best);
}

}  // namespace vallorn
