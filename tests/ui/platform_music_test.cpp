// The music player streams a track to its end and says so exactly once, with an audio device
// and without one; files that are not MP3 tracks are refused.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/music.h"
#include "support/test_support.h"

#ifdef VALLORN_HAVE_LAME
#include <lame.h>
#endif

namespace vallorn {
namespace {

#ifdef VALLORN_HAVE_LAME
// A mono 440 Hz tone of `seconds`, with the encoder's tag so the decoded length is exact.
std::string EncodeTone(double seconds) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, 44100);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 64);
    lame_init_params(lame);
    std::vector<short> pcm(size_t(44100 * seconds));
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = short(8000 * std::sin(2 * M_PI * 440 * double(i) / 44100));
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 + 8192);
    int n =
        lame_encode_buffer(lame, pcm.data(), nullptr, int(pcm.size()), mp3.data(), int(mp3.size()));
    n += lame_encode_flush(lame, mp3.data() + n, int(mp3.size()) - n);
    std::string out(reinterpret_cast<char*>(mp3.data()), size_t(n));
    std::vector<unsigned char> tag(8192);
    const size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
    out.replace(0, tagSize, reinterpret_cast<char*>(tag.data()), tagSize);
    lame_close(lame);
    return out;
}

TEST(MusicPlayer, PlaysToTheEndAndReportsItOnce) {
    test::TempDir dir;
    test::WriteText(dir / "tone.mp3", EncodeTone(0.6));
    for (bool withDevice : {true, false}) {
        SCOPED_TRACE(withDevice ? "shared device" : "no device");
        TSKIMusicPlayer player(withDevice ? TSKIAudioDevice::Shared() : nullptr);
        if (!withDevice) {
            EXPECT_FALSE(player.DeviceOpen());
        }
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(player.Play(dir / "tone.mp3"));
        EXPECT_TRUE(player.Playing());
        int ends = 0;
        double endedAfter = -1;
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(4)) {
            if (player.Update()) {
                ++ends;
                if (endedAfter < 0)
                    endedAfter =
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                            .count();
            }
            if (endedAfter >= 0 &&
                std::chrono::steady_clock::now() - start > std::chrono::milliseconds(1200))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(ends, 1);
        EXPECT_GE(endedAfter, 0.5);  // played in real time, not skipped
        EXPECT_LT(endedAfter, 2.0);
        EXPECT_FALSE(player.Playing());
    }
}
#endif

TEST(MusicPlayer, RefusesWhatIsNotATrack) {
    test::TempDir dir;
    test::WriteText(dir / "notes.mp3", std::string(4000, 'x'));
    TSKIMusicPlayer player;
    EXPECT_FALSE(player.Play(dir / "notes.mp3"));
    EXPECT_FALSE(player.Play(dir / "missing.mp3"));
    EXPECT_FALSE(player.Play(dir.Path()));
    EXPECT_FALSE(player.Playing());
    EXPECT_FALSE(player.Update());
}

}  // namespace
}  // namespace vallorn
