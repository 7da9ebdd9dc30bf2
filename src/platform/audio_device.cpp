#include "platform/audio_device.h"

#include <mutex>

#include <AL/al.h>
#include <AL/alc.h>

namespace vallorn {

std::shared_ptr<TSKIAudioDevice> TSKIAudioDevice::Shared() {
    static std::mutex mutex;
    static std::weak_ptr<TSKIAudioDevice> shared;
    std::lock_guard<std::mutex> lock(mutex);
    std::shared_ptr<TSKIAudioDevice> device = shared.lock();
    if (!device) {
        device.reset(new TSKIAudioDevice());
        shared = device;
    }
    return device;
}

TSKIAudioDevice::TSKIAudioDevice() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        problem_ = "no audio device could be opened";
        return;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || alcMakeContextCurrent(context) != ALC_TRUE) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        problem_ = "the audio device has no usable context";
        return;
    }
    device_ = device;
    context_ = context;
    if (const ALCchar* name = alcGetString(device, ALC_DEVICE_SPECIFIER)) name_ = name;
    alListenerf(AL_GAIN, 1.0f);
}

TSKIAudioDevice::~TSKIAudioDevice() {
    if (context_) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(static_cast<ALCcontext*>(context_));
    }
    if (device_) alcCloseDevice(static_cast<ALCdevice*>(device_));
}

}  // namespace vallorn
