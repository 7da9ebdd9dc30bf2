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
    // then been asked to raise its window. When no lock can be made at all (no usable folder)
    // the game runs anyway: true, with the reason in Problem().
    bool Acquire();
    // The first copy polls this once per frame: true once per request of a later copy.
    bool RaiseRequested();
    const std::string& Problem() const { return problem_; }

    // Makes `folder` a private folder of this user (created with mode 0700) or refuses it:
    // a symbolic link, something else than a folder, or a folder owned by another user.
    static bool PreparePrivateFolder(const std::filesystem::path& folder, std::string* why);

private:
    bool ResolveFolder();
    void AskHolderToRaise() const;

    std::string problem_;
    int fifoWriterFd_ = -1;  // keeps the raise pipe from reporting end-of-file
    int pendingRaises_ = 0;
    std::filesystem::path folder_;
    std::string name_;
    int lockFd_ = -1;
    int fifoFd_ = -1;
};

}  // namespace vallorn
