#include "platform/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vallorn {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

std::string Errno(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

TSKISingleInstance::TSKISingleInstance(std::filesystem::path folder, std::string name)
    : folder_(std::move(folder)), name_(std::move(name)) {}

TSKISingleInstance::~TSKISingleInstance() {
    CloseFd(fifoFd_);
    CloseFd(fifoWriterFd_);
    CloseFd(lockFd_);  // releases the lock
}

bool TSKISingleInstance::PreparePrivateFolder(const std::filesystem::path& folder,
                                              std::string* why) {
    auto refuse = [&](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return refuse(Errno("cannot create " + folder.string()));
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return refuse(Errno("cannot examine " + folder.string()));
    if (S_ISLNK(st.st_mode)) return refuse(folder.string() + " is a symbolic link");
    if (!S_ISDIR(st.st_mode)) return refuse(folder.string() + " is not a folder");
    if (st.st_uid != ::getuid()) return refuse(folder.string() + " belongs to another user");
    if ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return refuse(Errno("cannot make " + folder.string() + " private"));
    return true;
}

bool TSKISingleInstance::ResolveFolder() {
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder_, ec);
        if (ec) {
            problem_ = "cannot create " + folder_.string() + ": " + ec.message();
            return false;
        }
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        struct stat st {};
        if (::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) {
            folder_ = runtime;
            return true;
        }
    }
    std::error_code ec;
    std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
    if (ec) tmp = "/tmp";
    const std::filesystem::path mine = tmp / ("vallorn-" + std::to_string(::getuid()));
    if (!PreparePrivateFolder(mine, &problem_)) return false;
    folder_ = mine;
    return true;
}

bool TSKISingleInstance::Acquire() {
    if (lockFd_ >= 0) return true;
    problem_.clear();
    if (!ResolveFolder()) return true;
    const std::filesystem::path lockPath = folder_ / (name_ + ".lock");
    const std::filesystem::path fifoPath = folder_ / (name_ + ".raise");
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem_ = Errno("cannot open " + lockPath.string());
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            AskHolderToRaise();
            return false;
        }
        errno = err;
        problem_ = Errno("cannot lock " + lockPath.string());
        return true;
    }
    lockFd_ = fd;

    // The raise pipe: whatever stands at its name that is not our pipe is replaced.
    struct stat st {};
    if (::lstat(fifoPath.c_str(), &st) == 0 && (!S_ISFIFO(st.st_mode) || st.st_uid != ::getuid()))
        ::unlink(fifoPath.c_str());
    if (::mkfifo(fifoPath.c_str(), 0600) != 0 && errno != EEXIST) {
        problem_ = Errno("cannot create " + fifoPath.string());
        return true;
    }
    fifoFd_ = ::open(fifoPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fifoFd_ >= 0)
        fifoWriterFd_ = ::open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    else
        problem_ = Errno("cannot open " + fifoPath.string());
    // Requests left in the pipe from an earlier run are not for this copy.
    while (RaiseRequested()) {
    }
    pendingRaises_ = 0;
    return true;
}

void TSKISingleInstance::AskHolderToRaise() const {
    const std::filesystem::path fifoPath = folder_ / (name_ + ".raise");
    // Non-blocking: with no reader the open fails at once, and a full pipe drops the byte.
    const int fd = ::open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode)) {
        const char byte = 'R';
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    ::close(fd);
}

bool TSKISingleInstance::RaiseRequested() {
    if (fifoFd_ >= 0) {
        char buffer[64];
        ssize_t n;
        while ((n = ::read(fifoFd_, buffer, sizeof buffer)) > 0) pendingRaises_ += int(n);
    }
    if (pendingRaises_ <= 0) return false;
    --pendingRaises_;
    return true;
}

}  // namespace vallorn
