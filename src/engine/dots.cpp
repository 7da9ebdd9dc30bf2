// The dots drawn over skiers on the overview: coloured by the chosen skier property, and grey
// for skiers too far away for a detailed model. The shades are ours: a clear green, amber and
// red that read well on snow, and for skill the piste colours blue, red and black.
#include "engine/dots.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr TSKIColor kGood{40, 200, 60};
constexpr TSKIColor kMiddle{235, 205, 40};
constexpr TSKIColor kBad{220, 40, 40};
constexpr TSKIColor kBeginner{40, 90, 225};
constexpr TSKIColor kIntermediate{220, 40, 40};
constexpr TSKIColor kPro{15, 15, 15};

TSKIColor ThreeWay(float value, float low, float high) {
    if (value < low) return kBad;
    if (value < high) return kMiddle;
    return kGood;
}

}  // namespace

TSKIColor OverlayColor(uint8_t mode, const TSKISkier& s) {
    switch (mode) {
        case 1:
            return ThreeWay(s.Happiness, kNeedLow, -kNeedLow);
        case 2:
            return ThreeWay(float(s.Money), 333, 666);
        case 3:
            return ThreeWay(s.Cold, kNeedLow, -kNeedLow);
        case 4:
            return ThreeWay(float(s.SpendingLimit), 33, 66);
        case 5:
            return ThreeWay(s.Hunger, kNeedLow, -kNeedLow);
        case 6:
            if (s.Skill < 0.333f) return kBeginner;
            return s.Skill < 0.666f ? kIntermediate : kPro;
        case 7:
            return ThreeWay(s.Energy, kNeedLow, -kNeedLow);
        case 8:
            return s.State == kSkierInjured ? kBad : kGood;
        default:
            return kGood;
    }
}

}  // namespace vallorn
