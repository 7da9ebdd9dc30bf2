#include "base/wav_file.h"

#include <algorithm>

namespace vallorn {

namespace {

uint32_t Read32(std::string_view b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t Read16(std::string_view b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
void Put32(std::string& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(char((v >> (8 * k)) & 0xFF));
}
void Put16(std::string& out, uint16_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char(v >> 8));
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

struct TFormat {
    int Channels = 0, Rate = 0, Bits = 0;
};

std::optional<TFormat> ReadFormat(std::string_view chunk, std::string* why) {
    if (chunk.size() < 16) {
        *why = "its format chunk is too short";
        return std::nullopt;
    }
    uint16_t tag = Read16(chunk, 0);
    // The extensible header names its real format in the first two bytes of its sub-format.
    if (tag == kFormatExtensible && chunk.size() >= 26) tag = Read16(chunk, 24);
    TFormat f;
    f.Channels = Read16(chunk, 2);
    const uint32_t rate = Read32(chunk, 4);
    const uint16_t align = Read16(chunk, 12);
    f.Bits = Read16(chunk, 14);
    if (tag != kFormatPcm) {
        *why = "it is not PCM";
    } else if (f.Channels != 1 && f.Channels != 2) {
        *why = "it has " + std::to_string(f.Channels) + " channels";
    } else if (f.Bits != 8 && f.Bits != 16) {
        *why = "it has " + std::to_string(f.Bits) + "-bit samples";
    } else if (rate < 1000 || rate > 192000) {
        *why = "its rate " + std::to_string(rate) + " is out of range";
    } else if (align != f.Channels * f.Bits / 8) {
        *why = "its block size does not match its format";
    } else {
        f.Rate = int(rate);
        return f;
    }
    return std::nullopt;
}

}  // namespace

std::optional<TSKIWavSound> ParseWav(std::string_view bytes, std::string* error) {
    std::string why;
    auto refuse = [&](std::string reason) -> std::optional<TSKIWavSound> {
        if (error) *error = std::move(reason);
        return std::nullopt;
    };
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return refuse("not a RIFF WAVE file");
    std::optional<TFormat> format;
    std::string_view data;
    bool haveData = false;
    // The chunks in order; each is padded to an even size. Sizes are never trusted beyond the
    // bytes that are there.
    size_t at = 12;
    while (at + 8 <= bytes.size() && !haveData) {
        const std::string_view id = bytes.substr(at, 4);
        const uint64_t size = Read32(bytes, at + 4);
        const size_t body = at + 8;
        const size_t available = bytes.size() - body;
        if (id == "fmt ") {
            if (size > available) return refuse("its format chunk is cut off");
            format = ReadFormat(bytes.substr(body, size_t(size)), &why);
            if (!format) return refuse(why);
        } else if (id == "data") {
            if (!format) return refuse("its samples come before their format");
            data = bytes.substr(body, size_t(std::min<uint64_t>(size, available)));
            haveData = true;
        }
        if (size > available) break;
        at = body + size_t(size) + size_t(size & 1);
    }
    if (!format) return refuse("it has no format chunk");
    if (!haveData) return refuse("it has no samples");
    const size_t frameBytes = size_t(format->Channels * format->Bits / 8);
    const size_t frames = data.size() / frameBytes;
    if (frames == 0) return refuse("it has no samples");
    if (frames > kMaxWavFrames) return refuse("it is too long");

    TSKIWavSound sound;
    sound.Rate = format->Rate;
    sound.Channels = format->Channels;
    const size_t count = frames * size_t(format->Channels);
    sound.Samples.resize(count);
    for (size_t k = 0; k < count; ++k) {
        sound.Samples[k] = format->Bits == 16 ? int16_t(Read16(data, 2 * k))
                                              : int16_t((int(uint8_t(data[k])) - 128) * 256);
    }
    return sound;
}

std::string EncodeWav(const TSKIWavSound& sound) {
    const uint32_t channels = uint32_t(std::clamp(sound.Channels, 1, 2));
    const uint32_t dataBytes = uint32_t(sound.Samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, kFormatPcm);
    Put16(out, uint16_t(channels));
    Put32(out, uint32_t(sound.Rate));
    Put32(out, uint32_t(sound.Rate) * channels * 2);
    Put16(out, uint16_t(channels * 2));
    Put16(out, 16);
    out += "data";
    Put32(out, dataBytes);
    for (int16_t s : sound.Samples) Put16(out, uint16_t(s));
    return out;
}

}  // namespace vallorn
