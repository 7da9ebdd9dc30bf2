#include "platform/music.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <vector>

#include <AL/al.h>
#include <mpg123.h>

#include "platform/audio_device.h"

namespace vallorn {

namespace {

constexpr int kBufferCount = 4;
constexpr double kBufferSeconds = 0.25;

using TClock = std::chrono::steady_clock;

void InitDecoderLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

struct TSKIMusicPlayer::TImpl {
    std::shared_ptr<TSKIAudioDevice> Device;
    mpg123_handle* Decoder = nullptr;
    long Rate = 0;
    int Channels = 0;
    bool DecoderDone = false;
    double Seconds = 0;  // length of the track
    TClock::time_point Started;
    enum class TState { Idle, Playing } State = TState::Idle;
    float Volume = 1.0f;

    ALuint Source = 0;
    std::array<ALuint, kBufferCount> Buffers{};
    std::vector<unsigned char> Chunk;

    bool Audible() const { return Device && Device->Open() && Source != 0; }

    void CloseDecoder() {
        if (Decoder) {
            mpg123_close(Decoder);
            mpg123_delete(Decoder);
        }
        Decoder = nullptr;
        DecoderDone = false;
    }

    bool OpenDecoder(const std::filesystem::path& file) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) return false;
        InitDecoderLibrary();
        int err = MPG123_OK;
        Decoder = mpg123_new(nullptr, &err);
        if (!Decoder) return false;
        mpg123_param(Decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // Always 16-bit samples, whatever the file's rate and channels.
        mpg123_format_none(Decoder);
        const long* rates = nullptr;
        size_t rateCount = 0;
        mpg123_rates(&rates, &rateCount);
        for (size_t i = 0; i < rateCount; ++i)
            mpg123_format(Decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        if (mpg123_open(Decoder, file.c_str()) != MPG123_OK) return false;
        int encoding = 0;
        if (mpg123_getformat(Decoder, &Rate, &Channels, &encoding) != MPG123_OK) return false;
        if (encoding != MPG123_ENC_SIGNED_16 || Rate <= 0 || (Channels != 1 && Channels != 2))
            return false;
        mpg123_format_none(Decoder);
        mpg123_format(Decoder, Rate, Channels, MPG123_ENC_SIGNED_16);
        mpg123_scan(Decoder);
        const off_t samples = mpg123_length(Decoder);
        Seconds = samples > 0 ? double(samples) / double(Rate) : 0.0;
        Chunk.resize(size_t(double(Rate) * kBufferSeconds) * size_t(Channels) * 2);
        return true;
    }

    // Decodes up to one buffer's worth; the number of bytes.
    size_t Decode() {
        size_t filled = 0;
        while (!DecoderDone && filled < Chunk.size()) {
            size_t done = 0;
            const int r = mpg123_read(Decoder, Chunk.data() + filled, Chunk.size() - filled, &done);
            filled += done;
            if (r == MPG123_DONE || (r != MPG123_OK && r != MPG123_NEW_FORMAT) ||
                (r == MPG123_OK && done == 0))
                DecoderDone = true;
        }
        return filled & ~size_t(Channels * 2 - 1);
    }

    // Fills and queues one buffer; false when the track has no more samples.
    bool Queue(ALuint buffer) {
        const size_t bytes = Decode();
        if (bytes == 0) return false;
        alBufferData(buffer, Channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, Chunk.data(),
                     ALsizei(bytes), ALsizei(Rate));
        alSourceQueueBuffers(Source, 1, &buffer);
        return true;
    }

    bool StartStream() {
        alGetError();
        alGenSources(1, &Source);
        if (alGetError() != AL_NO_ERROR) {
            Source = 0;
            return false;
        }
        alGenBuffers(kBufferCount, Buffers.data());
        if (alGetError() != AL_NO_ERROR) {
            alDeleteSources(1, &Source);
            Source = 0;
            Buffers.fill(0);
            return false;
        }
        // Music is not in the park: it plays at the listener, unaffected by the camera.
        alSourcei(Source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(Source, AL_POSITION, 0, 0, 0);
        alSourcef(Source, AL_ROLLOFF_FACTOR, 0);
        alSourcef(Source, AL_GAIN, Volume);
        int queued = 0;
        for (ALuint b : Buffers) queued += Queue(b) ? 1 : 0;
        if (queued == 0) return false;
        alSourcePlay(Source);
        return true;
    }

    void StopStream() {
        if (Source) {
            alSourceStop(Source);
            alSourcei(Source, AL_BUFFER, 0);
            alDeleteSources(1, &Source);
            Source = 0;
        }
        if (Buffers[0]) alDeleteBuffers(kBufferCount, Buffers.data());
        Buffers.fill(0);
    }

    // Tops the stream up; true when it has played out.
    bool PumpStream() {
        ALint processed = 0;
        alGetSourcei(Source, AL_BUFFERS_PROCESSED, &processed);
        while (processed-- > 0) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(Source, 1, &buffer);
            Queue(buffer);
        }
        ALint queued = 0, state = 0;
        alGetSourcei(Source, AL_BUFFERS_QUEUED, &queued);
        alGetSourcei(Source, AL_SOURCE_STATE, &state);
        if (queued == 0) return true;
        // A long frame let the queue run dry: carry on where it stopped.
        if (state != AL_PLAYING) alSourcePlay(Source);
        return false;
    }
};

TSKIMusicPlayer::TSKIMusicPlayer() : TSKIMusicPlayer(TSKIAudioDevice::Shared()) {}

TSKIMusicPlayer::TSKIMusicPlayer(std::shared_ptr<TSKIAudioDevice> device)
    : impl_(std::make_unique<TImpl>()) {
    impl_->Device = std::move(device);
}

TSKIMusicPlayer::~TSKIMusicPlayer() {
    Stop();
}

bool TSKIMusicPlayer::Play(const std::filesystem::path& mp3) {
    Stop();
    TImpl& m = *impl_;
    if (!m.OpenDecoder(mp3)) {
        m.CloseDecoder();
        return false;
    }
    if (m.Device && m.Device->Open() && !m.StartStream()) {
        m.StopStream();
        // Nothing decodes from a file that looked like an MP3: refuse it; an OpenAL failure
        // leaves the track to play silently.
        if (m.DecoderDone) {
            m.CloseDecoder();
            return false;
        }
    }
    m.Started = TClock::now();
    m.State = TImpl::TState::Playing;
    return true;
}

void TSKIMusicPlayer::Stop() {
    TImpl& m = *impl_;
    m.StopStream();
    m.CloseDecoder();
    m.State = TImpl::TState::Idle;
}

bool TSKIMusicPlayer::Update() {
    TImpl& m = *impl_;
    if (m.State != TImpl::TState::Playing) return false;
    bool ended;
    if (m.Audible()) {
        ended = m.PumpStream();
    } else {
        const double elapsed = std::chrono::duration<double>(TClock::now() - m.Started).count();
        ended = elapsed >= m.Seconds;
    }
    if (!ended) return false;
    Stop();
    return true;
}

bool TSKIMusicPlayer::Playing() const {
    return impl_->State == TImpl::TState::Playing;
}

bool TSKIMusicPlayer::DeviceOpen() const {
    return impl_->Device && impl_->Device->Open();
}

void TSKIMusicPlayer::SetVolume(float volume) {
    TImpl& m = *impl_;
    m.Volume = std::clamp(volume, 0.0f, 1.0f);
    if (m.Audible()) alSourcef(m.Source, AL_GAIN, m.Volume);
}

}  // namespace vallorn
