// The highlight markers of the display window's "Highlight" palette: one vertical beam per
// lift or building that the chosen mode selects, coloured and sized by the mode.
#pragma once

#include <cstdint>
#include <vector>

#include "base/types.h"

namespace vallorn {

class TSKIEngine;

// The modes of the highlight palette, as the view state's HighlightMode holds them.
enum : uint8_t {
    kHighlightNothing = 0,
    kHighlightClosed = 1,       // closed lifts and buildings
    kHighlightSnowCannons = 2,  // snow cannons and their range
    kHighlightSnowcats = 3,     // the snowcat garages' areas of operation
    kHighlightRestaurants = 4,  // stalls, snow bars, kiosks and self-service restaurants
    kHighlightCots = 5,
    kHighlightShelters = 6,
    kHighlightMedical = 7,  // ski patrols, rescue stations and hospitals
    kHighlightParking = 8,
    kHighlightServiceQuality = 9,  // colour by service quality
    kHighlightProfit = 10,         // red at a loss, green in profit
    kHighlightTooExpensive = 11,   // colour by the share of customers who found it too dear
    kHighlightNoCustomers = 12,    // nobody served yet
    kHighlightPrice = 13,          // width by price
    kHighlightQueues = 14,         // width by queue length
};
constexpr int kHighlightModes = kHighlightQueues + 1;
constexpr float kHighlightBeamHeight = 4000.0f;
constexpr float kHighlightBeamAlpha = 0.2f;

struct TSKIHighlightBeam {
    TSKIVector Base;  // where the beam stands: a lift's gate, a building, a garage's area
    uint8_t R = 0, G = 0, B = 0;
    float Width = 3;  // the beam's radius
};

// The beams of a highlight mode (0..14) as the park stands now.
std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine, int mode);

}  // namespace vallorn
