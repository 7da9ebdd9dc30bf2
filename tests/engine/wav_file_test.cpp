// The WAV reader of the sound samples: what the generator writes reads back; other PCM
// layouts are taken; anything else is refused with a reason and never read past its end.
#include <gtest/gtest.h>

#include "base/wav_file.h"

namespace vallorn {
namespace {

std::string Le(uint32_t v, int bytes) {
    std::string s;
    for (int k = 0; k < bytes; ++k) s.push_back(char((v >> (8 * k)) & 0xFF));
    return s;
}

std::string Chunk(const std::string& id, const std::string& body, uint32_t claimed = ~0u) {
    std::string s = id + Le(claimed == ~0u ? uint32_t(body.size()) : claimed, 4) + body;
    if (body.size() % 2) s.push_back('\0');
    return s;
}

std::string Format(int tag, int channels, int rate, int bits, int align = -1) {
    if (align < 0) align = channels * bits / 8;
    return Le(uint32_t(tag), 2) + Le(uint32_t(channels), 2) + Le(uint32_t(rate), 4) +
           Le(uint32_t(rate * align), 4) + Le(uint32_t(align), 2) + Le(uint32_t(bits), 2);
}

std::string Riff(const std::string& chunks) {
    return "RIFF" + Le(uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks;
}

TEST(WavFile, WrittenSoundsReadBackAndOtherPcmLayoutsAreTaken) {
    TSKIWavSound sound;
    sound.Rate = 22050;
    sound.Channels = 2;
    sound.Samples = {0, -32768, 32767, 1234, -5, 7};
    const auto back = ParseWav(EncodeWav(sound));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Rate, 22050);
    EXPECT_EQ(back->Channels, 2);
    EXPECT_EQ(back->Samples, sound.Samples);
    EXPECT_EQ(back->Frames(), 3u);

    // 8-bit stereo after an odd-sized chunk (padded) is widened to 16 bits; a data chunk that
    // claims more than is there keeps its whole frames.
    const std::string eight = Riff(Chunk("fmt ", Format(1, 2, 8000, 8)) + Chunk("LIST", "abc") +
                                   "data" + Le(1000, 4) + std::string("\x80\xFF\x00\x81\x7F", 5));
    std::string why;
    const auto widened = ParseWav(eight, &why);
    ASSERT_TRUE(widened) << why;
    EXPECT_EQ(widened->Channels, 2);
    EXPECT_EQ(widened->Samples, (std::vector<int16_t>{0, 127 * 256, -128 * 256, 256}));

    // The extensible header naming PCM.
    std::string ext = Format(0xFFFE, 1, 44100, 16) + Le(22, 2) + Le(16, 2) + Le(4, 4) + Le(1, 2);
    ext += std::string(14, '\0');
    EXPECT_TRUE(ParseWav(Riff(Chunk("fmt ", ext) + Chunk("data", Le(5, 2)))));
}

TEST(WavFile, MalformedFilesAreRefusedWithAReason) {
    const std::string fmt = Chunk("fmt ", Format(1, 1, 22050, 16));
    const std::string data = Chunk("data", Le(1, 2) + Le(2, 2));
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + Le(4, 4) + "WAVE" + fmt + data},
        {"not WAVE", "RIFF" + Le(4, 4) + "AVI " + fmt + data},
        {"no format", Riff(data)},
        {"no data", Riff(fmt)},
        {"data before format", Riff(data + fmt)},
        {"format cut off", Riff(Chunk("fmt ", Format(1, 1, 22050, 16), 200))},
        {"short format", Riff(Chunk("fmt ", Format(1, 1, 22050, 16).substr(0, 12)) + data)},
        {"float samples", Riff(Chunk("fmt ", Format(3, 1, 22050, 32)) + data)},
        {"three channels", Riff(Chunk("fmt ", Format(1, 3, 22050, 16)) + data)},
        {"no channels", Riff(Chunk("fmt ", Format(1, 0, 22050, 16)) + data)},
        {"24-bit", Riff(Chunk("fmt ", Format(1, 1, 22050, 24)) + data)},
        {"rate 0", Riff(Chunk("fmt ", Format(1, 1, 0, 16)) + data)},
        {"wrong block size", Riff(Chunk("fmt ", Format(1, 1, 22050, 16, 4)) + data)},
        {"empty data", Riff(fmt + Chunk("data", ""))},
        {"half a frame", Riff(fmt + Chunk("data", "x"))},
        {"huge junk chunk", Riff(fmt + Chunk("junk", "abcd", 0xFFFFFFF0u) + data)},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ParseWav(c.bytes, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
    }
    // Every cut of a good file is refused or read within what is there.
    const std::string good = Riff(fmt + data);
    for (size_t n = 0; n < good.size(); ++n) {
        const auto sound = ParseWav(good.substr(0, n));
        if (sound) {
            EXPECT_LE(sound->Samples.size() * 2, n - 44) << n;
        }
    }
}

}  // namespace
}  // namespace vallorn
