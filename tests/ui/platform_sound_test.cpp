// The sound effects: the sample library fills from "Sounds.txt", skipping what it cannot
// load; emitters are heard by the near/far rule from the listener; all of it works the same
// without an audio device, and the shipped samples all load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <AL/al.h>
#include <AL/efx.h>

#include "base/atomic_file.h"
#include "base/wav_file.h"
#include "platform/audio_device.h"
#include "platform/sound_manager.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

std::string Tone(int channels) {
    TSKIWavSound sound;
    sound.Rate = 22050;
    sound.Channels = channels;
    sound.Samples.assign(size_t(2205 * channels), 1000);
    return EncodeWav(sound);
}

TEST(SoundManager, FillsItsLibraryFromTheListAndSkipsWhatItCannotLoad) {
    test::TempDir dir;
    test::WriteText(dir / "Sounds.txt", "wind\n  lift \r\n\nmissing\nbroken\n../escape\nwind\n");
    test::WriteText(dir / "wind.wav", Tone(1));
    test::WriteText(dir / "lift.wav", Tone(2));
    test::WriteText(dir / "broken.wav", "RIFF....WAVEjunk");
    test::WriteText(dir.Path().parent_path() / "escape.wav", Tone(1));
    for (bool withDevice : {true, false}) {
        SCOPED_TRACE(withDevice ? "shared device" : "no device");
        TSKISoundManager sounds(withDevice ? TSKIAudioDevice::Shared() : nullptr);
        EXPECT_EQ(sounds.Audible(), withDevice);
        EXPECT_EQ(sounds.LoadLibrary(dir.Path()), 2);
        EXPECT_EQ(sounds.SampleNames(), (std::vector<std::string>{"wind", "lift"}));
        ASSERT_EQ(sounds.Skipped().size(), 3u);
        EXPECT_EQ(sounds.Skipped()[0].rfind("missing: ", 0), 0u);
        EXPECT_EQ(sounds.Skipped()[1].rfind("broken: ", 0), 0u);
        EXPECT_EQ(sounds.Skipped()[2].rfind("../escape: ", 0), 0u);
        EXPECT_EQ(sounds.CreateEmitter("missing", {}), TSKISoundManager::kNoEmitter);
        EXPECT_NE(sounds.CreateEmitter("lift", {}), TSKISoundManager::kNoEmitter);
    }
    std::filesystem::remove(dir.Path().parent_path() / "escape.wav");
}

TEST(SoundManager, EmittersAreHeardFullyUpToNearAndFadeLinearlyToFar) {
    const struct {
        float volume, nearD, farD, distance, gain;
    } cases[] = {
        {1.0f, 20, 60, 0, 1.0f},    {1.0f, 20, 60, 20, 1.0f}, {1.0f, 20, 60, 40, 0.5f},
        {0.5f, 20, 60, 50, 0.125f}, {1.0f, 20, 60, 60, 0.0f}, {1.0f, 20, 60, 500, 0.0f},
        {2.0f, 5, 20, 1, 1.0f},     {-1.0f, 5, 20, 1, 0.0f},  {1.0f, 30, 30, 29, 1.0f},
        {1.0f, 30, 10, 31, 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(EmitterGain(c.volume, c.nearD, c.farD, c.distance), c.gain)
            << c.volume << " " << c.nearD << ".." << c.farD << " at " << c.distance;
    }
}

TEST(SoundManager, EmittersFollowTheListenerWithOrWithoutADevice) {
    test::TempDir dir;
    test::WriteText(dir / "Sounds.txt", "heli\n");
    test::WriteText(dir / "heli.wav", Tone(1));
    for (bool withDevice : {true, false}) {
        SCOPED_TRACE(withDevice ? "shared device" : "no device");
        TSKISoundManager sounds(withDevice ? TSKIAudioDevice::Shared() : nullptr);
        ASSERT_EQ(sounds.LoadLibrary(dir.Path()), 1);
        if (withDevice) {
            // No Doppler shift, three metres to a unit, the mountain reverb.
            EXPECT_EQ(alGetFloat(AL_DOPPLER_FACTOR), 0.0f);
            ALfloat metres = 0;
            alGetListenerf(AL_METERS_PER_UNIT, &metres);
            EXPECT_EQ(metres, 3.0f);
            EXPECT_TRUE(sounds.Reverb());
        }
        sounds.SetMasterVolume(0.0f);
        if (withDevice) {
            ALfloat listener = 0;  // the music plays through the same listener
            alGetListenerf(AL_GAIN, &listener);
            EXPECT_EQ(listener, 1.0f);
        }
        sounds.SetMasterVolume(7.0f);
        EXPECT_EQ(sounds.MasterVolume(), 1.0f);

        const auto heli = sounds.CreateEmitter("heli", {true, 1.0f, 20.0f, 60.0f});
        const auto other = sounds.CreateEmitter("heli", {true, 0.5f, 5.0f, 20.0f});
        sounds.SetPosition(heli, {100, 10, 0});
        sounds.SetListener({60, 10, 0}, {1, 0, 0}, {0, 1, 0});
        sounds.Play(heli);
        sounds.Update();
        EXPECT_TRUE(sounds.Playing(heli));
        EXPECT_FALSE(sounds.Playing(other));
        EXPECT_EQ(sounds.PlayingCount(), 1);
        EXPECT_FLOAT_EQ(sounds.Gain(heli), 0.5f);
        EXPECT_FLOAT_EQ(sounds.Gain(other), 0.0f);  // 60 units away from it

        sounds.SetListener({0, 12.5f, 0}, {1, 0, 0}, {0, 1, 0});
        sounds.SetVolume(heli, 0.8f);
        sounds.Update();
        EXPECT_FLOAT_EQ(sounds.Gain(heli), 0.0f);
        EXPECT_FLOAT_EQ(sounds.Gain(other), 0.25f);  // half volume, halfway from 5 to 20

        sounds.Stop(heli);
        EXPECT_FALSE(sounds.Playing(heli));
        sounds.RemoveEmitter(heli);
        EXPECT_EQ(sounds.EmitterCount(), 1);
        sounds.Play(heli);  // a removed emitter is no longer there to play
        EXPECT_EQ(sounds.PlayingCount(), 0);
    }
}

TEST(SoundManager, EveryShippedSampleLoadsAndLoopsWithoutAClick) {
    const std::filesystem::path data = test::BuildRoot() / "data";
    TSKISoundManager sounds(nullptr);
    sounds.LoadLibrary(data);
    EXPECT_TRUE(sounds.Skipped().empty()) << sounds.Skipped().front();
    for (const char* name : {"wind", "lift", "scooter", "heli", "snowcat", "avatar"})
        EXPECT_TRUE(sounds.HasSample(name)) << name;
    for (const std::string& name : sounds.SampleNames()) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(data / (name + ".wav"), bytes));
        const auto sound = ParseWav(bytes);
        ASSERT_TRUE(sound) << name;
        EXPECT_EQ(sound->Channels, 1) << name;  // positional sounds are mono
        EXPECT_GE(sound->Seconds(), 1.0) << name;
        // The step from the last sample back to the first is no larger than the sound's own.
        const auto& v = sound->Samples;
        int largest = 0;
        for (size_t k = 1; k < v.size(); ++k)
            largest = std::max(largest, std::abs(v[k] - v[k - 1]));
        EXPECT_LE(std::abs(v.front() - v.back()), largest) << name;
    }
}

}  // namespace
}  // namespace vallorn
