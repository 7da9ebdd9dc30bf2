// The music: an MP3 track decoded by libmpg123 and streamed through OpenAL in small buffers.
// Without an audio device everything is silent and nothing fails.
#pragma once

#include <filesystem>
#include <memory>

namespace vallorn {

class TSKIMusicPlayer {
public:
    TSKIMusicPlayer();
    ~TSKIMusicPlayer();
    TSKIMusicPlayer(const TSKIMusicPlayer&) = delete;
    TSKIMusicPlayer& operator=(const TSKIMusicPlayer&) = delete;

    // Stops what plays and starts the file; false when it cannot be opened or decoded.
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
