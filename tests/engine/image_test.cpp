// Drawing into RGB images and the JPEG files of levels.
#include <gtest/gtest.h>

#include "base/image.h"
#include "base/image_io.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

constexpr TSKIColor kInk{200, 0, 0};

int CountColour(const TSKIImage& img, TSKIColor c) {
    int n = 0;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) n += img.Get(x, y) == c;
    return n;
}

TEST(ImageDrawing, WritesOutsideTheImageAreIgnoredAndReadAsBlack) {
    TSKIImage img(4, 3, {1, 2, 3});
    img.Set(-1, 0, kInk);
    img.Set(4, 0, kInk);
    img.Set(0, 3, kInk);
    EXPECT_EQ(CountColour(img, {1, 2, 3}), 12);
    EXPECT_EQ(img.Get(5, 5), TSKIColor{});
    img.Set(3, 2, kInk);
    EXPECT_EQ(img.Get(3, 2), kInk);
    // Pixel (x, y) is row y: the buffer is row-major.
    EXPECT_EQ(img.Pixels()[(2 * 4 + 3) * 3], 200);
}

TEST(ImageDrawing, FillPaintsEveryPixelGreyOrColoured) {
    TSKIImage img(5, 3, {9, 9, 9});
    EXPECT_EQ(CountColour(img, {9, 9, 9}), 15);
    img.Fill({1, 2, 3});
    EXPECT_EQ(CountColour(img, {1, 2, 3}), 15);
    img.Fill({255, 255, 255});
    EXPECT_EQ(CountColour(img, {255, 255, 255}), 15);
}

TEST(ImageDrawing, LinesIncludeBothEndsAndStayConnected) {
    TSKIImage img(20, 20);
    img.DrawLine(2, 3, 15, 9, kInk);
    EXPECT_EQ(img.Get(2, 3), kInk);
    EXPECT_EQ(img.Get(15, 9), kInk);
    // One pixel per column along an x-major line.
    EXPECT_EQ(CountColour(img, kInk), 14);
    for (int x = 2; x <= 15; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 20; ++y) inColumn += img.Get(x, y) == kInk;
        EXPECT_EQ(inColumn, 1) << "column " << x;
    }
}

TEST(ImageDrawing, PenWidthWidensTheLine) {
    TSKIImage img(20, 20);
    img.DrawLine(5, 2, 5, 12, kInk, 3);  // vertical, three pixels wide
    // The square pen also reaches one pixel past each end, so polylines join without gaps.
    EXPECT_EQ(CountColour(img, kInk), 3 * 13);
    EXPECT_EQ(img.Get(5, 1), kInk);
    EXPECT_NE(img.Get(5, 0), kInk);
    EXPECT_EQ(img.Get(4, 7), kInk);
    EXPECT_EQ(img.Get(6, 7), kInk);
    EXPECT_NE(img.Get(7, 7), kInk);
    TSKIImage dot(5, 5);
    dot.DrawLine(2, 2, 2, 2, kInk, 0);  // a zero width still draws one pixel
    EXPECT_EQ(CountColour(dot, kInk), 1);
}

TEST(ImageDrawing, FilledCircleIsRoundAndClipped) {
    TSKIImage img(10, 10);
    img.FillCircle(5, 5, 2, kInk);
    EXPECT_EQ(CountColour(img, kInk), 13);  // the radius-2 disc of a pixel grid
    EXPECT_NE(img.Get(3, 3), kInk);         // corners are outside
    TSKIImage corner(10, 10);
    corner.FillCircle(0, 0, 2, kInk);
    EXPECT_EQ(CountColour(corner, kInk), 6);
}

TEST(JpegFiles, RoundTripKeepsSizeAndColours) {
    test::TempDir dir;
    TSKIImage img(48, 32, {30, 140, 220});
    for (int x = 0; x < 24; ++x)
        for (int y = 0; y < 32; ++y) img.Set(x, y, {250, 250, 250});
    std::string error;
    ASSERT_TRUE(SaveJpeg(dir / "a.jpg", img, 95, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "a.jpg.tmp"));

    int w = 0, h = 0;
    ASSERT_TRUE(JpegSize(dir / "a.jpg", w, h, &error)) << error;
    EXPECT_EQ(w, 48);
    EXPECT_EQ(h, 32);
    TSKIImage back;
    ASSERT_TRUE(LoadJpeg(dir / "a.jpg", back, &error)) << error;
    ASSERT_EQ(back.Width(), 48);
    ASSERT_EQ(back.Height(), 32);
    const TSKIColor left = back.Get(4, 16), right = back.Get(40, 16);
    EXPECT_NEAR(left.r, 250, 4);
    EXPECT_NEAR(right.r, 30, 6);
    EXPECT_NEAR(right.g, 140, 6);
    EXPECT_NEAR(right.b, 220, 6);
}

TEST(JpegFiles, BadFilesGiveAReasonInsteadOfEndingTheProgram) {
    test::TempDir dir;
    test::WriteText(dir / "garbage.jpg", "\xff\xd8 this is not a picture");
    test::WriteText(dir / "empty.jpg", "");
    TSKIImage img(3, 3);
    std::string error;
    EXPECT_FALSE(LoadJpeg(dir / "garbage.jpg", img, &error));
    EXPECT_NE(error.find("garbage.jpg"), std::string::npos) << error;
    EXPECT_TRUE(img.Empty());
    EXPECT_FALSE(LoadJpeg(dir / "empty.jpg", img, &error));
    EXPECT_FALSE(LoadJpeg(dir / "missing.jpg", img, &error));
    EXPECT_NE(error.find("missing.jpg"), std::string::npos) << error;
    int w, h;
    EXPECT_FALSE(JpegSize(dir / "garbage.jpg", w, h, &error));
    EXPECT_FALSE(SaveJpeg(dir / "none.jpg", TSKIImage(), 90, &error));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "none.jpg"));
}

TEST(JpegFiles, PicturesTooLargeForMemoryAreRefusedBeforeTheyAreRead) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    std::string error;
    TSKIImage img;
    // A device never ends: not read at all. A file over the limit: refused by its size.
    fs::create_symlink("/dev/zero", dir / "endless.jpg");
    EXPECT_FALSE(LoadJpeg(dir / "endless.jpg", img, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    test::WriteText(dir / "huge.jpg", "");
    fs::resize_file(dir / "huge.jpg", kMaxImageFileBytes + 1);  // sparse: takes no room
    EXPECT_FALSE(LoadJpeg(dir / "huge.jpg", img, &error));
    EXPECT_NE(error.find("larger than 64 MB"), std::string::npos) << error;

    // Small files that claim pictures of 60000 x 60000 and 8192 x 8192 pixels (the latter
    // took seconds and hundreds of megabytes to decode): refused from the header.
    ASSERT_TRUE(SaveJpeg(dir / "small.jpg", TSKIImage(8, 8, {1, 2, 3}), 90, &error)) << error;
    for (const char* side : {"\xea\x60", "\x20\x00"}) {
        std::string bytes = test::ReadText(dir / "small.jpg");
        const size_t sof = bytes.find("\xff\xc0");
        ASSERT_NE(sof, std::string::npos);
        for (size_t at : {sof + 5, sof + 7}) bytes.replace(at, 2, side, 2);  // height, width
        test::WriteText(dir / "claims.jpg", bytes);
        int w = 0, h = 0;
        ASSERT_TRUE(JpegSize(dir / "claims.jpg", w, h, &error)) << error;
        const std::string size = std::to_string(w) + " x " + std::to_string(h);
        EXPECT_FALSE(LoadJpeg(dir / "claims.jpg", img, &error)) << size;
        EXPECT_NE(error.find(size + " is larger than 2048 x 2048"), std::string::npos) << error;
        EXPECT_TRUE(img.Empty());
    }
}

}  // namespace
}  // namespace vallorn
