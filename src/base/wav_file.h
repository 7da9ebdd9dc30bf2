// The sound samples of the data folder: RIFF WAVE files of 8- or 16-bit PCM, mono or stereo.
// The reader takes bytes from a file the player may have replaced: anything it does not
// understand is refused with a one-line reason, never read past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vallorn {

struct TSKIWavSound {
    int32_t Rate = 0;              // frames per second
    int32_t Channels = 0;          // 1 or 2
    std::vector<int16_t> Samples;  // interleaved; 8-bit files are widened to 16 bits

    size_t Frames() const { return Channels > 0 ? Samples.size() / size_t(Channels) : 0; }
    double Seconds() const { return Rate > 0 ? double(Frames()) / double(Rate) : 0.0; }
};

// Longest sample the game takes, in frames (a few minutes at 44.1 kHz).
constexpr size_t kMaxWavFrames = size_t(1) << 24;

// The sound in `bytes`, or nothing with the reason in `error` (when given). A data chunk that
// claims more bytes than the file holds keeps the whole frames that are there.
std::optional<TSKIWavSound> ParseWav(std::string_view bytes, std::string* error = nullptr);

// The file of a sound: a canonical 44-byte header and 16-bit little-endian samples.
std::string EncodeWav(const TSKIWavSound& sound);

}  // namespace vallorn
