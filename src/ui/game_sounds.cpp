#include "ui/game_sounds.h"

#include <algorithm>

#include "base/params.h"
#include "engine/engine.h"
#include "entities/section.h"
#include "entities/vehicle.h"
#include "platform/audio_device.h"
#include "presentation/camera.h"

namespace vallorn {

namespace {

// The wind blows from a point high above the camera: the higher the camera climbs, the nearer
// it comes, within the wind's audible range of 30 to 500 units.
constexpr float kWindHeight = 250.0f;
constexpr TSKIEmitterSetup kWind{true, 0.0f, 30.0f, 500.0f};
constexpr TSKIEmitterSetup kAvatar{true, 0.0f, 20.0f, 60.0f};
constexpr TSKIEmitterSetup kLiftStation{true, 0.8f, 10.0f, 60.0f};

TSKISoundPoint Point(const TSKIVector& v) {
    return {v.x, v.y, v.z};
}
TSKISoundPoint Point(const glm::vec3& v) {
    return {v.x, v.y, v.z};
}

}  // namespace

TSKIGameSounds::TSKIGameSounds()
    : TSKIGameSounds(std::make_unique<TSKISoundManager>(TSKIAudioDevice::Shared())) {}

TSKIGameSounds::TSKIGameSounds(std::unique_ptr<TSKISoundManager> manager)
    : manager_(std::move(manager)) {}

TSKIGameSounds::~TSKIGameSounds() = default;

float TSKIGameSounds::WindVolume(float weather) {
    return 0.35f + 0.65f * std::clamp(weather, 0.0f, 1.0f);
}

void TSKIGameSounds::ApplyOptions(const TSKIEngineOptions& options,
                                  const std::filesystem::path& dataFolder) {
    manager_->SetMasterVolume(options.SoundOn ? options.SoundVolume : 0.0f);
    if (!options.SoundOn || libraryLoaded_) return;
    libraryLoaded_ = true;
    manager_->LoadLibrary(dataFolder);
    wind_ = manager_->CreateEmitter("wind", kWind);
    avatar_ = manager_->CreateEmitter("avatar", kAvatar);
}

void TSKIGameSounds::Reconcile(TGroup& group, const char* sample, const TSKIEmitterSetup& setup,
                               const std::map<int, TSKISoundPoint>& wanted) {
    for (auto it = group.Emitters.begin(); it != group.Emitters.end();) {
        if (wanted.count(it->first)) {
            ++it;
            continue;
        }
        manager_->RemoveEmitter(it->second);
        it = group.Emitters.erase(it);
    }
    for (const auto& [key, position] : wanted) {
        auto found = group.Emitters.find(key);
        if (found == group.Emitters.end()) {
            const TSKISoundManager::TEmitter e = manager_->CreateEmitter(sample, setup);
            if (e == TSKISoundManager::kNoEmitter) return;  // no such sample: all stay silent
            found = group.Emitters.emplace(key, e).first;
            manager_->SetPosition(e, position);
            manager_->Play(e);
        }
        manager_->SetPosition(found->second, position);
    }
}

void TSKIGameSounds::Update(const TSKIEngine& engine, const TSKICamera& camera) {
    if (!libraryLoaded_) return;
    const glm::vec3 eye = camera.Position();
    manager_->SetListener(Point(eye), Point(camera.Direction()), {0, 1, 0});

    TSKIVector ground(eye.x, 0, eye.z, 1);
    const float groundHeight = engine.PositionInGrid(ground) ? engine.GroundHeight(ground) : 0.0f;
    manager_->SetPosition(wind_, {eye.x, groundHeight + kWindHeight, eye.z});
    manager_->SetVolume(wind_, WindVolume(engine.Park.ParkWeather));
    manager_->Play(wind_);
    manager_->SetPosition(avatar_, Point(camera.Target()));

    // The park's machines are heard while the park runs.
    const bool running = engine.Park.ParkSpeed > 0 && !engine.Busy;
    std::map<int, TSKISoundPoint> stations;
    for (size_t s = 0; running && s < engine.Sections.size(); ++s) {
        const TSKISection& section = *engine.Sections[s];
        if (!section.IsLift() || section.Status != kLiftOpen || section.Stations.empty()) continue;
        const TSKIVector ends[2] = {section.Stations.front(), section.Stations.back()};
        for (int end = 0; end < 2; ++end)
            if (engine.CellNearCamera(ends[end])) stations[int(s) * 2 + end] = Point(ends[end]);
    }
    Reconcile(lifts_, "lift", kLiftStation, stations);

    std::map<uint8_t, std::map<int, TSKISoundPoint>> moving;
    for (size_t v = 0; running && v < engine.Vehicles.size(); ++v) {
        const TSKIVehicle& vehicle = *engine.Vehicles[v];
        if (vehicle.Moving && VehicleSound(vehicle.Type).Name)
            moving[vehicle.Type][int(v)] = Point(vehicle.Position);
    }
    for (uint8_t type : {kVehicleSnowmobile, kVehicleHelicopter, kVehicleSnowcat}) {
        const TSKIVehicleSound sound = VehicleSound(type);
        Reconcile(vehicles_[type], sound.Name, {true, 1.0f, sound.Near, sound.Far}, moving[type]);
    }
    manager_->Update();
}

void TSKIGameSounds::Quiet() {
    manager_->Stop(wind_);
    const std::map<int, TSKISoundPoint> none;
    Reconcile(lifts_, "lift", kLiftStation, none);
    for (auto& [type, group] : vehicles_) Reconcile(group, "", {}, none);
}

}  // namespace vallorn
