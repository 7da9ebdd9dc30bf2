// The sound effects: a library of samples loaded by name from "Sounds.txt" and positional
// emitters that play them around the listener (the camera), over the program's shared audio
// device. The world is heard with a master volume, no Doppler shift, three metres to a unit
// and, where the device offers it, the reverb of wide mountain valleys.
//
// Without a device every call still keeps its state (emitters, volumes, what plays) and
// answers as with one: the game runs silently and nothing fails.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vallorn {

class TSKIAudioDevice;

struct TSKISoundPoint {
    float x = 0, y = 0, z = 0;
};

// An emitter's loudness at `distance` from the listener: `volume` up to the near distance,
// falling in a straight line to nothing at the far distance, nothing beyond. A range whose far
// end is not beyond its near end is heard at full volume up to the near distance only.
float EmitterGain(float volume, float nearDistance, float farDistance, float distance);

struct TSKIEmitterSetup {
    bool Looping = true;
    float Volume = 1.0f;  // 0..1
    float Near = 1.0f;    // audible at full volume up to here (units)
    float Far = 100.0f;   // silent from here on
};

class TSKISoundManager {
public:
    using TEmitter = int;  // an emitter's handle; kNoEmitter for none
    static constexpr TEmitter kNoEmitter = -1;

    static constexpr float kDopplerFactor = 0.0f;
    static constexpr float kMetresPerUnit = 3.0f;  // the distance factor

    // On the given device; none, or one that did not open, makes a silent manager.
    explicit TSKISoundManager(std::shared_ptr<TSKIAudioDevice> device);
    ~TSKISoundManager();
    TSKISoundManager(const TSKISoundManager&) = delete;
    TSKISoundManager& operator=(const TSKISoundManager&) = delete;

    bool Audible() const;  // a device is open: what plays is heard
    bool Reverb() const;   // the mountain reverb is on every emitter

    void SetMasterVolume(float volume);  // 0..1, of the effects only: the music keeps its own
    float MasterVolume() const { return master_; }

    // --- the sample library --------------------------------------------------------------------
    // Reads `dataFolder`/Sounds.txt (one sample name a line) and loads each name's ".wav" from
    // the same folder. A name that is no file name, or whose file is missing or unreadable, is
    // skipped with one line on stderr. The number of samples loaded.
    int LoadLibrary(const std::filesystem::path& dataFolder);
    bool HasSample(const std::string& name) const;
    std::vector<std::string> SampleNames() const;                         // in load order
    const std::vector<std::string>& Skipped() const { return skipped_; }  // "name: reason"

    // --- emitters --------------------------------------------------------------------------
    // A new emitter of the named sample, stopped, at the origin; kNoEmitter when the library
    // has no such sample.
    TEmitter CreateEmitter(const std::string& sample, const TSKIEmitterSetup& setup);
    void RemoveEmitter(TEmitter emitter);
    void SetPosition(TEmitter emitter, const TSKISoundPoint& position);
    void SetVolume(TEmitter emitter, float volume);
    void Play(TEmitter emitter);
    void Stop(TEmitter emitter);
    bool Playing(TEmitter emitter) const;
    // The emitter's loudness at the listener after the last Update (before the master volume).
    float Gain(TEmitter emitter) const;
    int EmitterCount() const;
    int PlayingCount() const;

    // The listener: at the camera, looking along `forward` with `up` above it.
    void SetListener(const TSKISoundPoint& position, const TSKISoundPoint& forward,
                     const TSKISoundPoint& up);
    // Once a frame, after the emitters and the listener have moved: every emitter's loudness
    // from its distance to the listener.
    void Update();

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
    float master_ = 1.0f;
    std::vector<std::string> skipped_;
};

}  // namespace vallorn
