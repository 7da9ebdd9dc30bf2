// The dots drawn over skiers on the overview: coloured by the chosen skier property, and grey
// for skiers too far away for a detailed model. The shades are ours: a clear green, amber and
// red that read well on snow, and for skill the piste colours blue, red and black; each with
// its own shape.
#include "presentation/dots.h"

#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr TSKIColor kGood{40, 200, 60};
constexpr TSKIColor kMiddle{235, 205, 40};
constexpr TSKIColor kBad{220, 40, 40};
constexpr TSKIColor kBeginner{40, 90, 225};
constexpr TSKIColor kIntermediate{220, 40, 40};
constexpr TSKIColor kPro{15, 15, 15};

TSKIDotBand ThreeWay(float value, float low, float high) {
    if (value < low) return TSKIDotBand::Bad;
    if (value < high) return TSKIDotBand::Middle;
    return TSKIDotBand::Good;
}

}  // namespace

TSKIDotBand OverlayBand(uint8_t mode, const TSKISkier& s) {
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
            if (s.Skill < 0.333f) return TSKIDotBand::Beginner;
            return s.Skill < 0.666f ? TSKIDotBand::Intermediate : TSKIDotBand::Expert;
        case 7:
            return ThreeWay(s.Energy, kNeedLow, -kNeedLow);
        case 8:
            return s.State == kSkierInjured ? TSKIDotBand::Bad : TSKIDotBand::Good;
        default:
            return TSKIDotBand::Good;
    }
}

TSKIColor BandColor(TSKIDotBand band) {
    switch (band) {
        case TSKIDotBand::Middle:
            return kMiddle;
        case TSKIDotBand::Bad:
            return kBad;
        case TSKIDotBand::Beginner:
            return kBeginner;
        case TSKIDotBand::Intermediate:
            return kIntermediate;
        case TSKIDotBand::Expert:
            return kPro;
        default:
            return kGood;
    }
}

TSKIDotShape BandShape(TSKIDotBand band) {
    switch (band) {
        case TSKIDotBand::Good:
            return TSKIDotShape::TriangleUp;
        case TSKIDotBand::Middle:
        case TSKIDotBand::Expert:
            return TSKIDotShape::Diamond;
        case TSKIDotBand::Bad:
            return TSKIDotShape::TriangleDown;
        case TSKIDotBand::Intermediate:
            return TSKIDotShape::Square;
        default:
            return TSKIDotShape::Disc;
    }
}

TSKIColor OverlayColor(uint8_t mode, const TSKISkier& skier) {
    return BandColor(OverlayBand(mode, skier));
}

TSKIViewDots CollectDots(const TSKIEngine& engine, uint8_t overlayMode,
                         const std::vector<uint8_t>& detailedSkiers,
                         const std::vector<uint8_t>& drawnVehicles) {
    constexpr float kOverlayDotHeight = 3.0f;
    constexpr float kCrowdDotHeight = 1.0f;
    constexpr TSKIColor kCrowdDotColor{128, 128, 128};
    auto marked = [](const std::vector<uint8_t>& flags, size_t k) {
        return k < flags.size() && flags[k] != 0;
    };
    TSKIViewDots dots;
    // Last to first, as the park moves them.
    for (size_t k = engine.Skiers.size(); k-- > 0;) {
        const TSKISkier& skier = *engine.Skiers[k];
        if (!engine.CellInView(skier.Position)) continue;
        if (overlayMode != 0) {
            TSKIVector p = skier.Position;
            p.y += kOverlayDotHeight;
            const TSKIDotBand band = OverlayBand(overlayMode, skier);
            dots.Overlay.push_back({p, BandColor(band), uint8_t(BandShape(band))});
        }
        if (!marked(detailedSkiers, k)) {
            TSKIVector p = skier.Position;
            p.y += kCrowdDotHeight;
            dots.Crowd.push_back({p, kCrowdDotColor});
        }
    }
    for (size_t k = engine.Vehicles.size(); k-- > 0;) {
        const TSKIVehicle& v = *engine.Vehicles[k];
        if (v.Type < kVehicleTypeCount && engine.Params.Vehicles[v.Type].ModelLow.empty() &&
            !marked(drawnVehicles, k)) {
            TSKIVector p = v.Position;
            p.y += kCrowdDotHeight;
            dots.Crowd.push_back({p, kCrowdDotColor});
        }
    }
    return dots;
}

}  // namespace vallorn
