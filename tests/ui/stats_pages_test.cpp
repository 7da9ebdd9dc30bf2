// The statistics pages' pieces that need no window: the bars of the skiers' graphs and the
// marketing page's captions.
#include "ui/stats_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace vallorn {
namespace {

TEST(SkierGraph, EveryBarIsAsWideAsTheOthersTheLastBinsToo) {
    TSKIDistribution d;
    d.Bins[0] = 10;
    d.Bins[250] = 3;
    d.Bins[497] = 7;
    d.Bins[500] = 20;  // all happy: the tallest bar at the right end
    d.Peak = 20;
    const float width = 750, height = 256;
    const std::vector<TSKIGraphBar> bars = DistributionBars(d, width, height);
    ASSERT_EQ(bars.size(), 4u);
    const float barWidth = bars[0].X1 - bars[0].X0;
    EXPECT_GT(barWidth, 4 * width / 501);  // about five bins wide
    for (const TSKIGraphBar& bar : bars) {
        EXPECT_NEAR(bar.X1 - bar.X0, barWidth, 1e-3f) << "bin " << bar.Bin;
        EXPECT_GE(bar.X0, 0.0f);
        EXPECT_LE(bar.X1, width + 1e-3f);
        EXPECT_EQ(bar.Y1, height);  // from the bottom
    }
    EXPECT_EQ(bars.back().Bin, 500);
    EXPECT_NEAR(bars.back().X1, width, 1e-3f);
    EXPECT_NEAR(bars.back().Y0, 0.0f, 1e-3f);  // the peak reaches the top
    EXPECT_LT(bars[0].X0, bars[1].X0);
    EXPECT_GT(bars[1].Y0, bars[0].Y0);  // fewer skiers, a lower bar
    EXPECT_TRUE(DistributionBars(TSKIDistribution{}, width, height).empty());
}

TEST(MarketingPage, TheReadersCaptionsShowOneAmpersand) {
    EXPECT_EQ(std::string(MarketingReaderCaption(1)), "Kids & school magazines");
    for (int reader = 1; reader <= 3; ++reader)
        EXPECT_EQ(std::string(MarketingReaderCaption(reader)).find("&&"), std::string::npos);
    EXPECT_EQ(std::string(MarketingReaderCaption(4)), "");
}

}  // namespace
}  // namespace vallorn
