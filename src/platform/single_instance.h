// Only one copy of the game runs: a lock file in the user's runtime folder. A second copy asks
// the first to raise its window and leaves.
#pragma once

#include <filesystem>
#include <string>

namespace vallorn {

class TSKISingleInstance {
public:
    // `folder` empty: $XDG_RUNTIME_DIR, else a private folder under the temporary folder.
    explicit TSKISingleInstance(std::filesystem::path folder = {}, std::string name = "vallorn");
    ~TSKISingleInstance();
    TSKISingleInstance(const TSKISingleInstance&) = delete;
    TSKISingleInstance& operator=(const TSKISingleInstance&) = delete;

    // True when this copy now holds the lock. False when another copy holds it; that copy has
    // then been asked to raise its window.
    bool Acquire();
    // The first copy polls this once per frame: true once per request of a later copy.
    bool RaiseRequested();

private:
    std::filesystem::path folder_;
    std::string name_;
    int lockFd_ = -1;
    int fifoFd_ = -1;
};

}  // namespace vallorn
