// The files the game's window reads, as the build generates and ships them: the menu bar's
// pictures, the loading picture, the music list and its tracks, the tips and the help pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

#include "base/image_io.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

uint32_t Little(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = v << 8 | uint8_t(s[at + size_t(k)]);
    return v;
}
uint32_t Big(const std::string& s, size_t at, int bytes) {
    uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) v = v << 8 | uint8_t(s[at + size_t(k)]);
    return v;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// Mean brightness of a 24-bit BMP's pixels; checks its header on the way.
double BmpBrightness(const fs::path& file) {
    const std::string bmp = test::ReadText(file);
    EXPECT_GE(bmp.size(), 54u) << file;
    if (bmp.size() < 54) return 0;
    EXPECT_EQ(bmp.substr(0, 2), "BM") << file;
    const uint32_t offset = Little(bmp, 10, 4), width = Little(bmp, 18, 4),
                   height = Little(bmp, 22, 4);
    EXPECT_EQ(Little(bmp, 28, 2), 24u) << file;
    EXPECT_TRUE(width >= 32 && width <= 64 && height >= 32 && height <= 64) << file;
    const size_t row = (width * 3 + 3) / 4 * 4;
    EXPECT_EQ(bmp.size(), offset + row * height) << file;
    double sum = 0;
    for (size_t k = offset; k < bmp.size(); ++k) sum += uint8_t(bmp[k]);
    return sum / double(bmp.size() - offset);
}

TEST(WindowData, ButtonPicturesDecodeAndTheirTwoStatesDiffer) {
    for (const char* name : {"home", "display", "stats", "objectives", "help", "pause", "speed1",
                             "speed2", "speed4"}) {
        const fs::path data = test::BuildRoot() / "data";
        const double lit = BmpBrightness(data / (std::string(name) + ".bmp"));
        const double dim = BmpBrightness(data / (std::string(name) + "ON.bmp"));
        EXPECT_GT(lit, dim + 40) << name << ": the active picture must stand out";
    }
    TSKIImage loading;
    std::string error;
    ASSERT_TRUE(LoadJpeg(test::BuildRoot() / "data" / "loading.jpg", loading, &error)) << error;
    EXPECT_EQ(loading.Width(), 640);
    EXPECT_EQ(loading.Height(), 400);
}

// Every listed track is an MP3 whose first frame is a LAME tag, so decoders know its exact
// length: frames x 1152 samples less the encoder's delay and padding.
TEST(WindowData, MusicListNamesTaggedTracksOfAMinuteOrMore) {
    const auto tracks = Lines(test::ReadText(test::BuildRoot() / "data" / "music.txt"));
    EXPECT_EQ(tracks.size(), 3u);
    for (const std::string& track : tracks) {
        const std::string mp3 = test::ReadText(test::BuildRoot() / "data" / track);
        ASSERT_GT(mp3.size(), 1000u) << track;
        ASSERT_EQ(Big(mp3, 0, 2) & 0xFFFE, 0xFFFAu) << track << ": no MPEG-1 layer III frame";
        const bool mono = (uint8_t(mp3[3]) >> 6) == 3;
        const size_t xing = 4 + (mono ? 17 : 32);
        ASSERT_EQ(mp3.substr(xing, 4), "Info") << track << ": the LAME tag was not written";
        const uint32_t flags = Big(mp3, xing + 4, 4);
        ASSERT_TRUE(flags & 1) << track;
        const uint32_t frames = Big(mp3, xing + 8, 4);
        const size_t lame = xing + 8 + 4 * ((flags & 1) + ((flags >> 1) & 1) + ((flags >> 3) & 1)) +
                            ((flags & 4) ? 100 : 0);
        ASSERT_EQ(mp3.substr(lame, 4), "LAME") << track;
        const uint32_t gap = Big(mp3, lame + 21, 3);
        const double seconds = (frames * 1152.0 - (gap >> 12) - (gap & 0xFFF)) / 44100;
        EXPECT_GE(seconds, 60) << track;
        EXPECT_LE(seconds, 90) << track;
    }
}

TEST(WindowData, TipsAndHelpPagesAreShippedAndSelfContained) {
    const auto tips = Lines(test::ReadText(test::BuildRoot() / "data" / "tips.txt"));
    EXPECT_GE(tips.size(), 30u);
    for (const std::string& tip : tips) EXPECT_EQ(tip.find('\r'), std::string::npos) << tip;

    for (const char* page : {"Contents", "Welcome", "CreditsOnly"}) {
        const fs::path file = test::BuildRoot() / "help" / (std::string(page) + ".html");
        const std::string html = test::ReadText(file);
        EXPECT_NE(html.find("<title>"), std::string::npos) << page;
        EXPECT_EQ(html.find("<script"), std::string::npos) << page;
        EXPECT_EQ(html.find("://"), std::string::npos) << page << " points outside the game";
        // Every link's file part (before any "#") names a file beside the page.
        for (size_t at = html.find("href=\""); at != std::string::npos;
             at = html.find("href=\"", at + 1)) {
            const size_t start = at + 6;
            const std::string target = html.substr(start, html.find_first_of("\"#", start) - start);
            if (!target.empty()) {
                EXPECT_TRUE(fs::exists(file.parent_path() / target)) << page << " -> " << target;
            }
        }
    }
}

}  // namespace
}  // namespace vallorn
