// Pieces of the statistics pages that need no window: the bars of the skiers' graphs and the
// captions of the marketing page's readers.
#pragma once

#include <vector>

#include "engine/stats_figures.h"

namespace vallorn {

// Every bar of a skiers' graph is this many bins wide, starting at its own bin.
constexpr int kGraphBarBins = 5;

// One bar of a skiers' graph, in the picture's pixels (top left at 0, 0).
struct TSKIGraphBar {
    int Bin = 0;
    float X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

// The bars of a distribution drawn over a picture of `width` x `height`: one per non-empty
// bin, all as wide, the last one ending at the right edge; each rises from the bottom to its
// count's share of the peak, the peak reaching the top.
std::vector<TSKIGraphBar> DistributionBars(const TSKIDistribution& d, float width, float height);

// The marketing campaign's readers as the page's buttons name them, 1 to 3 (poor or
// beginners' readers first); empty for any other number.
const char* MarketingReaderCaption(int reader);

}  // namespace vallorn
