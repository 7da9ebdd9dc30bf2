// The music: an MP3 track decoded by libmpg123 and streamed through OpenAL in small buffers.
// Without an audio device everything is silent and nothing fails.
#pragma once

#include <filesystem>
#include <memory>

namespace vallorn {

class TSKIAudioDevice;

class TSKIMusicPlayer {
public:
    TSKIMusicPlayer();  // on the program's shared audio device
    // On the given device; none (or one that did not open) plays silently, in real time.
    explicit TSKIMusicPlayer(std::shared_ptr<TSKIAudioDevice> device);
    ~TSKIMusicPlayer();
    TSKIMusicPlayer(const TSKIMusicPlayer&) = delete;
    TSKIMusicPlayer& operator=(const TSKIMusicPlayer&) = delete;

    // Stops what plays and starts the file; false when it cannot be opened or decoded. Without
    // a device the track still "plays" for its length, so Update reports its end in time.
    bool Play(const std::filesystem::path& mp3);
    void Stop();
    // Once per frame: tops up the stream. True once when the track has played to its end.
    bool Update();
    bool Playing() const;
    bool DeviceOpen() const;
    void SetVolume(float volume);  // 0..1

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace vallorn
