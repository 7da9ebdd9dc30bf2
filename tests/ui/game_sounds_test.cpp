// What the park sounds like: the wind always, open lifts at their stations near the camera,
// vehicles under way, all while the park runs; nothing at all when sound is off.
#include <gtest/gtest.h>

#include "base/wav_file.h"
#include "entities/section.h"
#include "entities/vehicle.h"
#include "presentation/camera.h"
#include "support/test_level.h"
#include "ui/game_sounds.h"

namespace vallorn {
namespace {

TEST(GameSounds, TheParkIsHeardFromWhatRunsNearTheCamera) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    const std::filesystem::path data = f.dir / "sounds";
    std::filesystem::create_directories(data);
    std::string list;
    for (const char* name : {"wind", "avatar", "lift", "scooter", "heli", "snowcat"}) {
        TSKIWavSound tone;
        tone.Rate = 22050;
        tone.Channels = 1;
        tone.Samples.assign(100, 500);
        test::WriteText(data / (std::string(name) + ".wav"), EncodeWav(tone));
        list += std::string(name) + "\n";
    }
    test::WriteText(data / "Sounds.txt", list);

    TSKISection& lift = f.AddLift({{-400, 10, 400, 1}, {-400, 10, 600, 1}});
    lift.Stations = lift.Points;
    auto nearCamera = [&](const TSKIVector& p, bool near) {
        int i = 0, j = 0;
        TSKIWorld::WorldToCell(p, i, j);
        f->Cell(i, j).NearCamera = near;
    };
    for (int i = 0; i <= kGridSize; ++i)
        for (int j = 0; j <= kGridSize; ++j) f->Cell(i, j).NearCamera = false;
    nearCamera(lift.Stations.front(), true);
    auto& heli = f->Vehicles.emplace_back(std::make_unique<TSKIVehicle>(*f));
    heli->Type = kVehicleHelicopter;
    heli->Moving = true;

    TSKICamera camera;
    camera.Resize(1024, 768);
    camera.SetViewpoint(*f, f->Viewpoint);

    TSKIEngineOptions off = f->Options;
    off.SoundOn = false;
    TSKIGameSounds sounds(std::make_unique<TSKISoundManager>(nullptr));
    sounds.ApplyOptions(off, data);
    sounds.Update(*f, camera);
    EXPECT_EQ(sounds.Manager().EmitterCount(), 0);
    EXPECT_EQ(sounds.Manager().MasterVolume(), 0.0f);

    TSKIEngineOptions on = f->Options;
    on.SoundOn = true;
    on.SoundVolume = 0.6f;
    sounds.ApplyOptions(on, data);
    EXPECT_FLOAT_EQ(sounds.Manager().MasterVolume(), 0.6f);
    const struct {
        const char* what;
        std::function<void()> change;
        int playing;  // the wind, the lower station, the helicopter; the avatar never
    } steps[] = {
        {"as set up", [] {}, 3},
        {"upper station near too", [&] { nearCamera(lift.Stations.back(), true); }, 4},
        {"helicopter landed", [&] { heli->Moving = false; }, 3},
        {"lift closed", [&] { lift.Status = kLiftClosed; }, 1},
        {"lift open, park paused", [&] { lift.Status = kLiftOpen, f->Park.ParkSpeed = 0; }, 1},
        {"park runs again", [&] { f->Park.ParkSpeed = 1; }, 3},
    };
    for (const auto& step : steps) {
        step.change();
        sounds.Update(*f, camera);
        EXPECT_EQ(sounds.Manager().PlayingCount(), step.playing) << step.what;
    }
    sounds.Quiet();
    EXPECT_EQ(sounds.Manager().PlayingCount(), 0);
    EXPECT_EQ(sounds.Manager().EmitterCount(), 2);  // the wind and the avatar stay for later
}

}  // namespace
}  // namespace vallorn
