// The program's one OpenAL device and context, shared by the music and the sound effects. It
// opens on first use and closes when its last user is gone. Without a usable device the game
// is silent: users see Open() false and skip every OpenAL call.
#pragma once

#include <memory>
#include <string>

namespace vallorn {

class TSKIAudioDevice {
public:
    // The device every part of the program shares; opened on the first call.
    static std::shared_ptr<TSKIAudioDevice> Shared();

    ~TSKIAudioDevice();
    TSKIAudioDevice(const TSKIAudioDevice&) = delete;
    TSKIAudioDevice& operator=(const TSKIAudioDevice&) = delete;

    bool Open() const { return context_ != nullptr; }
    const std::string& Name() const { return name_; }
    const std::string& Problem() const { return problem_; }  // why it did not open

private:
    TSKIAudioDevice();

    void* device_ = nullptr;   // ALCdevice
    void* context_ = nullptr;  // ALCcontext
    std::string name_, problem_;
};

}  // namespace vallorn
