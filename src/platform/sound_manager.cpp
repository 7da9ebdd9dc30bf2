#include "platform/sound_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/efx-presets.h>
#include <AL/efx.h>

#include "base/atomic_file.h"
#include "base/safe_path.h"
#include "base/wav_file.h"
#include "platform/audio_device.h"

namespace vallorn {

namespace {

constexpr uint64_t kMaxSampleBytes = uint64_t(64) << 20;

// The list's names: one a line, surrounding blanks dropped, empty lines and repeats skipped.
std::vector<std::string> ListNames(const std::string& text) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
        while (!line.empty() && blank(line.back())) line.pop_back();
        size_t first = 0;
        while (first < line.size() && blank(line[first])) ++first;
        line.erase(0, first);
        if (!line.empty() && std::find(names.begin(), names.end(), line) == names.end())
            names.push_back(line);
        at = end + 1;
    }
    return names;
}

float Distance(const TSKISoundPoint& a, const TSKISoundPoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// The EFX entry points, looked up once a device offers the extension.
struct TEfx {
    LPALGENEFFECTS GenEffects = nullptr;
    LPALDELETEEFFECTS DeleteEffects = nullptr;
    LPALEFFECTI Effecti = nullptr;
    LPALEFFECTF Effectf = nullptr;
    LPALGENAUXILIARYEFFECTSLOTS GenSlots = nullptr;
    LPALDELETEAUXILIARYEFFECTSLOTS DeleteSlots = nullptr;
    LPALAUXILIARYEFFECTSLOTI Sloti = nullptr;

    bool Load() {
        GenEffects = reinterpret_cast<LPALGENEFFECTS>(alGetProcAddress("alGenEffects"));
        DeleteEffects = reinterpret_cast<LPALDELETEEFFECTS>(alGetProcAddress("alDeleteEffects"));
        Effecti = reinterpret_cast<LPALEFFECTI>(alGetProcAddress("alEffecti"));
        Effectf = reinterpret_cast<LPALEFFECTF>(alGetProcAddress("alEffectf"));
        GenSlots = reinterpret_cast<LPALGENAUXILIARYEFFECTSLOTS>(
            alGetProcAddress("alGenAuxiliaryEffectSlots"));
        DeleteSlots = reinterpret_cast<LPALDELETEAUXILIARYEFFECTSLOTS>(
            alGetProcAddress("alDeleteAuxiliaryEffectSlots"));
        Sloti =
            reinterpret_cast<LPALAUXILIARYEFFECTSLOTI>(alGetProcAddress("alAuxiliaryEffectSloti"));
        return GenEffects && DeleteEffects && Effecti && Effectf && GenSlots && DeleteSlots &&
               Sloti;
    }
};

}  // namespace

float EmitterGain(float volume, float nearDistance, float farDistance, float distance) {
    volume = std::clamp(volume, 0.0f, 1.0f);
    if (!(distance > nearDistance)) return volume;  // a NaN distance is near
    if (!(farDistance > nearDistance) || distance >= farDistance) return 0.0f;
    return volume * (farDistance - distance) / (farDistance - nearDistance);
}

struct TSKISoundManager::TImpl {
    struct TSample {
        std::string Name;
        ALuint Buffer = 0;
    };
    struct TEmitterState {
        bool Alive = false;
        size_t Sample = 0;
        TSKIEmitterSetup Setup;
        TSKISoundPoint Position;
        bool Playing = false;
        float Gain = 0;
        ALuint Source = 0;
    };

    std::shared_ptr<TSKIAudioDevice> Device;
    TEfx Efx;
    ALuint Effect = 0, Slot = 0;
    std::vector<TSample> Samples;
    std::vector<TEmitterState> Emitters;
    TSKISoundPoint Listener;
    bool Loaded = false;

    bool Audible() const { return Device && Device->Open(); }

    TEmitterState* Find(TEmitter emitter) {
        if (emitter < 0 || size_t(emitter) >= Emitters.size()) return nullptr;
        TEmitterState& e = Emitters[size_t(emitter)];
        return e.Alive ? &e : nullptr;
    }

    // The listener's world: our own distance rule (the library's is off, so that a silent
    // manager hears exactly what a device would), no Doppler, metres per unit for the reverb.
    void SetUpWorld() {
        alDistanceModel(AL_NONE);
        alDopplerFactor(kDopplerFactor);
        ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
        if (!device || alcIsExtensionPresent(device, "ALC_EXT_EFX") != ALC_TRUE || !Efx.Load())
            return;
        alListenerf(AL_METERS_PER_UNIT, kMetresPerUnit);
        alGetError();
        Efx.GenEffects(1, &Effect);
        if (alGetError() != AL_NO_ERROR) {
            Effect = 0;
            return;
        }
        const EFXEAXREVERBPROPERTIES p = EFX_REVERB_PRESET_MOUNTAINS;
        Efx.Effecti(Effect, AL_EFFECT_TYPE, AL_EFFECT_EAXREVERB);
        if (alGetError() == AL_NO_ERROR) {
            Efx.Effectf(Effect, AL_EAXREVERB_DENSITY, p.flDensity);
            Efx.Effectf(Effect, AL_EAXREVERB_DIFFUSION, p.flDiffusion);
            Efx.Effectf(Effect, AL_EAXREVERB_GAIN, p.flGain);
            Efx.Effectf(Effect, AL_EAXREVERB_GAINHF, p.flGainHF);
            Efx.Effectf(Effect, AL_EAXREVERB_GAINLF, p.flGainLF);
            Efx.Effectf(Effect, AL_EAXREVERB_DECAY_TIME, p.flDecayTime);
            Efx.Effectf(Effect, AL_EAXREVERB_DECAY_HFRATIO, p.flDecayHFRatio);
            Efx.Effectf(Effect, AL_EAXREVERB_DECAY_LFRATIO, p.flDecayLFRatio);
            Efx.Effectf(Effect, AL_EAXREVERB_REFLECTIONS_GAIN, p.flReflectionsGain);
            Efx.Effectf(Effect, AL_EAXREVERB_REFLECTIONS_DELAY, p.flReflectionsDelay);
            Efx.Effectf(Effect, AL_EAXREVERB_LATE_REVERB_GAIN, p.flLateReverbGain);
            Efx.Effectf(Effect, AL_EAXREVERB_LATE_REVERB_DELAY, p.flLateReverbDelay);
            Efx.Effectf(Effect, AL_EAXREVERB_ECHO_TIME, p.flEchoTime);
            Efx.Effectf(Effect, AL_EAXREVERB_ECHO_DEPTH, p.flEchoDepth);
            Efx.Effectf(Effect, AL_EAXREVERB_MODULATION_TIME, p.flModulationTime);
            Efx.Effectf(Effect, AL_EAXREVERB_MODULATION_DEPTH, p.flModulationDepth);
            Efx.Effectf(Effect, AL_EAXREVERB_AIR_ABSORPTION_GAINHF, p.flAirAbsorptionGainHF);
            Efx.Effectf(Effect, AL_EAXREVERB_HFREFERENCE, p.flHFReference);
            Efx.Effectf(Effect, AL_EAXREVERB_LFREFERENCE, p.flLFReference);
            Efx.Effectf(Effect, AL_EAXREVERB_ROOM_ROLLOFF_FACTOR, p.flRoomRolloffFactor);
            Efx.Effecti(Effect, AL_EAXREVERB_DECAY_HFLIMIT, p.iDecayHFLimit);
        } else {
            // The standard reverb takes the preset's values it knows.
            Efx.Effecti(Effect, AL_EFFECT_TYPE, AL_EFFECT_REVERB);
            Efx.Effectf(Effect, AL_REVERB_DENSITY, p.flDensity);
            Efx.Effectf(Effect, AL_REVERB_DIFFUSION, p.flDiffusion);
            Efx.Effectf(Effect, AL_REVERB_GAIN, p.flGain);
            Efx.Effectf(Effect, AL_REVERB_GAINHF, p.flGainHF);
            Efx.Effectf(Effect, AL_REVERB_DECAY_TIME, p.flDecayTime);
            Efx.Effectf(Effect, AL_REVERB_DECAY_HFRATIO, p.flDecayHFRatio);
            Efx.Effectf(Effect, AL_REVERB_REFLECTIONS_GAIN, p.flReflectionsGain);
            Efx.Effectf(Effect, AL_REVERB_REFLECTIONS_DELAY, p.flReflectionsDelay);
            Efx.Effectf(Effect, AL_REVERB_LATE_REVERB_GAIN, p.flLateReverbGain);
            Efx.Effectf(Effect, AL_REVERB_LATE_REVERB_DELAY, p.flLateReverbDelay);
            Efx.Effectf(Effect, AL_REVERB_AIR_ABSORPTION_GAINHF, p.flAirAbsorptionGainHF);
            Efx.Effectf(Effect, AL_REVERB_ROOM_ROLLOFF_FACTOR, p.flRoomRolloffFactor);
            Efx.Effecti(Effect, AL_REVERB_DECAY_HFLIMIT, p.iDecayHFLimit);
        }
        Efx.GenSlots(1, &Slot);
        if (alGetError() == AL_NO_ERROR) Efx.Sloti(Slot, AL_EFFECTSLOT_EFFECT, ALint(Effect));
        if (alGetError() != AL_NO_ERROR) {
            if (Slot) Efx.DeleteSlots(1, &Slot);
            Efx.DeleteEffects(1, &Effect);
            Slot = Effect = 0;
        }
    }

    void Release(TEmitterState& e) {
        if (e.Source) {
            alSourceStop(e.Source);
            alDeleteSources(1, &e.Source);
        }
        e = TEmitterState{};
    }

    ~TImpl() {
        if (!Audible()) return;
        for (TEmitterState& e : Emitters) Release(e);
        for (TSample& s : Samples)
            if (s.Buffer) alDeleteBuffers(1, &s.Buffer);
        if (Slot) Efx.DeleteSlots(1, &Slot);
        if (Effect) Efx.DeleteEffects(1, &Effect);
    }
};

TSKISoundManager::TSKISoundManager(std::shared_ptr<TSKIAudioDevice> device)
    : impl_(std::make_unique<TImpl>()) {
    impl_->Device = std::move(device);
    if (impl_->Audible()) impl_->SetUpWorld();
}

TSKISoundManager::~TSKISoundManager() = default;

bool TSKISoundManager::Audible() const {
    return impl_->Audible();
}

bool TSKISoundManager::Reverb() const {
    return impl_->Slot != 0;
}

void TSKISoundManager::SetMasterVolume(float volume) {
    // On the effects' own sources: the listener's gain would turn the music down with them.
    const float master = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
    if (master == master_) return;
    master_ = master;
    for (const TImpl::TEmitterState& e : impl_->Emitters)
        if (e.Source) alSourcef(e.Source, AL_GAIN, e.Gain * master_);
}

int TSKISoundManager::LoadLibrary(const std::filesystem::path& dataFolder) {
    if (impl_->Loaded) return int(impl_->Samples.size());
    impl_->Loaded = true;
    std::string list, why;
    if (!ReadWholeFile(dataFolder / "Sounds.txt", list, &why, 1 << 20)) {
        std::fprintf(stderr, "vallorn: no sound effects: %s\n", why.c_str());
        return 0;
    }
    for (const std::string& name : ListNames(list)) {
        std::optional<TSKIWavSound> sound;
        std::string bytes;
        const auto path = PathInFolder(dataFolder, name, ".wav", &why);
        if (path && ReadWholeFile(*path, bytes, &why, kMaxSampleBytes))
            sound = ParseWav(bytes, &why);
        if (!sound) {
            skipped_.push_back(name + ": " + why);
            std::fprintf(stderr, "vallorn: sound '%s' skipped: %s\n", name.c_str(), why.c_str());
            continue;
        }
        TImpl::TSample sample{name, 0};
        if (impl_->Audible()) {
            alGetError();
            alGenBuffers(1, &sample.Buffer);
            alBufferData(
                sample.Buffer, sound->Channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
                sound->Samples.data(), ALsizei(sound->Samples.size() * 2), ALsizei(sound->Rate));
            if (alGetError() != AL_NO_ERROR) {
                // The device refused it: the sample stays known and plays silently.
                if (sample.Buffer) alDeleteBuffers(1, &sample.Buffer);
                sample.Buffer = 0;
            }
        }
        impl_->Samples.push_back(std::move(sample));
    }
    return int(impl_->Samples.size());
}

bool TSKISoundManager::HasSample(const std::string& name) const {
    return std::any_of(impl_->Samples.begin(), impl_->Samples.end(),
                       [&](const TImpl::TSample& s) { return s.Name == name; });
}

std::vector<std::string> TSKISoundManager::SampleNames() const {
    std::vector<std::string> names;
    for (const auto& s : impl_->Samples) names.push_back(s.Name);
    return names;
}

TSKISoundManager::TEmitter TSKISoundManager::CreateEmitter(const std::string& sample,
                                                           const TSKIEmitterSetup& setup) {
    auto& samples = impl_->Samples;
    const auto found = std::find_if(samples.begin(), samples.end(),
                                    [&](const TImpl::TSample& s) { return s.Name == sample; });
    if (found == samples.end()) return kNoEmitter;
    auto& emitters = impl_->Emitters;
    auto slot = std::find_if(emitters.begin(), emitters.end(),
                             [](const TImpl::TEmitterState& e) { return !e.Alive; });
    if (slot == emitters.end()) slot = emitters.insert(emitters.end(), TImpl::TEmitterState{});
    TImpl::TEmitterState& e = *slot;
    e.Alive = true;
    e.Sample = size_t(found - samples.begin());
    e.Setup = setup;
    e.Setup.Volume = std::clamp(setup.Volume, 0.0f, 1.0f);
    e.Gain = EmitterGain(e.Setup.Volume, e.Setup.Near, e.Setup.Far,
                         Distance(e.Position, impl_->Listener));
    if (impl_->Audible() && found->Buffer) {
        alGetError();
        alGenSources(1, &e.Source);
        if (alGetError() != AL_NO_ERROR) {
            e.Source = 0;  // out of voices: this one stays silent
        } else {
            alSourcei(e.Source, AL_BUFFER, ALint(found->Buffer));
            alSourcei(e.Source, AL_LOOPING, setup.Looping ? AL_TRUE : AL_FALSE);
            alSourcef(e.Source, AL_GAIN, e.Gain * master_);
            alSource3f(e.Source, AL_POSITION, e.Position.x, e.Position.y, e.Position.z);
            if (impl_->Slot)
                alSource3i(e.Source, AL_AUXILIARY_SEND_FILTER, ALint(impl_->Slot), 0,
                           AL_FILTER_NULL);
        }
    }
    return TEmitter(slot - emitters.begin());
}

void TSKISoundManager::RemoveEmitter(TEmitter emitter) {
    if (TImpl::TEmitterState* e = impl_->Find(emitter)) impl_->Release(*e);
}

void TSKISoundManager::SetPosition(TEmitter emitter, const TSKISoundPoint& position) {
    TImpl::TEmitterState* e = impl_->Find(emitter);
    if (!e) return;
    e->Position = position;
    if (e->Source) alSource3f(e->Source, AL_POSITION, position.x, position.y, position.z);
}

void TSKISoundManager::SetVolume(TEmitter emitter, float volume) {
    if (TImpl::TEmitterState* e = impl_->Find(emitter))
        e->Setup.Volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
}

void TSKISoundManager::Play(TEmitter emitter) {
    TImpl::TEmitterState* e = impl_->Find(emitter);
    if (!e || e->Playing) return;
    e->Playing = true;
    if (e->Source) alSourcePlay(e->Source);
}

void TSKISoundManager::Stop(TEmitter emitter) {
    TImpl::TEmitterState* e = impl_->Find(emitter);
    if (!e || !e->Playing) return;
    e->Playing = false;
    if (e->Source) alSourceStop(e->Source);
}

bool TSKISoundManager::Playing(TEmitter emitter) const {
    TImpl::TEmitterState* e = impl_->Find(emitter);
    if (!e || !e->Playing) return false;
    if (e->Source && !e->Setup.Looping) {
        ALint state = AL_STOPPED;
        alGetSourcei(e->Source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED) e->Playing = false;  // a single shot has ended
    }
    return e->Playing;
}

float TSKISoundManager::Gain(TEmitter emitter) const {
    const TImpl::TEmitterState* e = impl_->Find(emitter);
    return e ? e->Gain : 0.0f;
}

int TSKISoundManager::EmitterCount() const {
    return int(std::count_if(impl_->Emitters.begin(), impl_->Emitters.end(),
                             [](const TImpl::TEmitterState& e) { return e.Alive; }));
}

int TSKISoundManager::PlayingCount() const {
    int count = 0;
    for (size_t k = 0; k < impl_->Emitters.size(); ++k) count += Playing(TEmitter(k)) ? 1 : 0;
    return count;
}

void TSKISoundManager::SetListener(const TSKISoundPoint& position, const TSKISoundPoint& forward,
                                   const TSKISoundPoint& up) {
    impl_->Listener = position;
    if (!impl_->Audible()) return;
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    const ALfloat orientation[6] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
}

void TSKISoundManager::Update() {
    for (TImpl::TEmitterState& e : impl_->Emitters) {
        if (!e.Alive) continue;
        e.Gain = EmitterGain(e.Setup.Volume, e.Setup.Near, e.Setup.Far,
                             Distance(e.Position, impl_->Listener));
        if (e.Source) alSourcef(e.Source, AL_GAIN, e.Gain * master_);
    }
}

}  // namespace vallorn
