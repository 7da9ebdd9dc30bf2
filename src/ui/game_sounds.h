// What the park sounds like from the camera: the wind, growing with the weather and with the
// camera's height; the machinery of open lifts at stations near the camera; the engines of
// the vehicles under way; the free-ride skier's swoosh, ready but silent. The view decides
// all of it each frame; the park's rules know nothing of sound.
#pragma once

#include <filesystem>
#include <map>
#include <memory>

#include "platform/sound_manager.h"

namespace vallorn {

class TSKIEngine;
class TSKICamera;
struct TSKIEngineOptions;

class TSKIGameSounds {
public:
    // Over the program's shared audio device.
    TSKIGameSounds();
    // Over the given manager (the tests hand a silent one).
    explicit TSKIGameSounds(std::unique_ptr<TSKISoundManager> manager);
    ~TSKIGameSounds();
    TSKIGameSounds(const TSKIGameSounds&) = delete;
    TSKIGameSounds& operator=(const TSKIGameSounds&) = delete;

    // The sound settings: the master volume, and the sample library with the "wind" and
    // "avatar" emitters the first time sound is on.
    void ApplyOptions(const TSKIEngineOptions& options, const std::filesystem::path& dataFolder);
    // Once a frame of a shown park, after the view has moved and drawn (its near-camera flags
    // are current).
    void Update(const TSKIEngine& engine, const TSKICamera& camera);
    // No park is shown (title, loading, another park coming): everything of the park falls
    // silent and its emitters go.
    void Quiet();

    const TSKISoundManager& Manager() const { return *manager_; }

    // The wind's loudness for the weather (0 fair .. 1 snowing).
    static float WindVolume(float weather);

private:
    // Keeps one emitter per key of `wanted` (key -> position), removing the others.
    struct TGroup {
        std::map<int, TSKISoundManager::TEmitter> Emitters;
    };
    void Reconcile(TGroup& group, const char* sample, const TSKIEmitterSetup& setup,
                   const std::map<int, TSKISoundPoint>& wanted);

    std::unique_ptr<TSKISoundManager> manager_;
    bool libraryLoaded_ = false;
    TSKISoundManager::TEmitter wind_ = TSKISoundManager::kNoEmitter;
    TSKISoundManager::TEmitter avatar_ = TSKISoundManager::kNoEmitter;
    TGroup lifts_;
    std::map<uint8_t, TGroup> vehicles_;  // by vehicle type
};

}  // namespace vallorn
