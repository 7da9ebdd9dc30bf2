#include "entities/section.h"

#include <cmath>

#include "engine/engine.h"
#include "entities/gondole.h"

namespace vallorn {

TSKISection::TSKISection(TSKIEngine& engine) : Engine(engine) {}

TSKISection::~TSKISection() = default;

const TSKILiftParams& TSKISection::Type() const {
    return Engine.Params.Lifts[LiftType < kLiftTypeCount ? LiftType : 0];
}

float TSKISection::Length() const {
    float length = 0;
    for (size_t k = 1; k < Points.size(); ++k) {
        const float dx = Points[k].x - Points[k - 1].x;
        const float dy = Points[k].y - Points[k - 1].y;
        const float dz = Points[k].z - Points[k - 1].z;
        length += std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    return length;
}

const char* TSKISection::StatusText(uint8_t status) {
    switch (status) {
        case kLiftOpen:
            return "Open";
        case kLiftClosed:
            return "Closed";
        default:
            return "Broken down";
    }
}

}  // namespace vallorn
