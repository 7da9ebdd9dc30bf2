// The options window's controls against the engine's settings: accepting untouched controls
// gives the same settings back, and the derived and reversed mappings hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/options_controls.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(OptionControls, UntouchedControlsWriteTheSameOptionsAndDerivedValuesFollow) {
    TSKIEngineOptions o;
    o.SoundVolume = 0.37f;
    o.MouseZoomSpeed = 0.8f;
    o.MousePanSpeed = 0.12f;
    o.MouseRotSpeed = 27;
    o.InvertMouseZoom = -1;
    o.Detail = 2;
    o.FullScreen = false;
    TSKIEngineOptions back = o;
    ApplyControls(ControlsFromOptions(o), back);
    EXPECT_FLOAT_EQ(back.SoundVolume, o.SoundVolume);
    EXPECT_FLOAT_EQ(back.MouseZoomSpeed, o.MouseZoomSpeed);
    EXPECT_FLOAT_EQ(back.MousePanSpeed, o.MousePanSpeed);
    EXPECT_EQ(back.MouseRotSpeed, 27);
    EXPECT_EQ(back.InvertMouseZoom, -1);
    EXPECT_EQ(back.Detail, 2);
    EXPECT_FALSE(back.FullScreen);
    // Written and read again through the options file: the same controls.
    test::TempDir dir;
    ASSERT_TRUE(SaveOptions(dir.Path(), back));
    TSKIEngineOptions read;
    LoadOptions(dir.Path(), read);
    EXPECT_EQ(ControlsFromOptions(read), ControlsFromOptions(o));

    // The sound bar at 0 stores sound off as well as volume 0; the bars keep to their ranges.
    TSKIOptionControls c = DefaultControls();
    c.Sound = 0;
    c.Zoom = 0;
    ApplyControls(c, back);
    EXPECT_FALSE(back.SoundOn);
    EXPECT_EQ(back.SoundVolume, 0);
    EXPECT_FLOAT_EQ(back.MouseZoomSpeed, 1.5f);
    back.MousePanSpeed = 9;
    back.MouseRotSpeed = 1;
    EXPECT_EQ(ControlsFromOptions(back).Panning, 30);
    EXPECT_EQ(ControlsFromOptions(back).Rotation, 10);
}

}  // namespace
}  // namespace vallorn
