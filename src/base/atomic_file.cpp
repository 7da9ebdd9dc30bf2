#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;

namespace vallorn {

namespace {

constexpr const char* kTempMark = ".tmp-";
std::atomic<bool> waitForDisk{true};
constexpr size_t kTempStemLength = 200;  // keeps temporary names within 255 bytes

std::string Reason(int err) {
    return std::strerror(err);
}

std::string TooLarge(uint64_t maxBytes) {
    return maxBytes >= (uint64_t(1) << 20)
               ? "it is larger than " + std::to_string(maxBytes >> 20) + " MB"
               : "it is larger than " + std::to_string(maxBytes) + " bytes";
}

// ".NAME.tmp-": every temporary file of NAME starts so (the name shortened when very long).
std::string TempPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix.append(target.filename().string(), 0, kTempStemLength);
    prefix.append(kTempMark);
    return prefix;
}

// Follows symbolic links to the file that is finally named, even when that file does not
// exist yet. Returns false when the links loop or cannot be read.
bool FollowLinks(fs::path path, fs::path& out) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            out = path;
            return true;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return false;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return false;
}

// Removes the temporary files of `target` that earlier saves left behind when they were
// killed. A save in progress holds a lock on its temporary file; those are left alone.
void RemoveLeftTemporaries(const fs::path& target) {
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const int fd = open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
        close(fd);
    }
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(size_t(n));
    }
    return true;
}

// Devices and pipes take the content as a stream; there is nothing to rename.
bool WriteInPlace(const fs::path& path, std::string_view content, std::string& why) {
    // Without a reader a pipe would block the game: not waited for.
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENXIO ? "no program reads from it" : Reason(errno);
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool ok = WriteAll(fd, content);
    if (!ok) why = Reason(errno);
    if (close(fd) != 0 && ok) {
        ok = false;
        why = Reason(errno);
    }
    return ok;
}

}  // namespace

void SetWaitForDisk(bool wait) {
    waitForDisk = wait;
}

bool WriteFileAtomically(const fs::path& path, std::string_view content, std::string* error) {
    static std::atomic<unsigned> counter{0};
    auto fail = [&](const std::string& what) {
        if (error) *error = "cannot write " + path.string() + ": " + what;
        return false;
    };
    std::error_code ec;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            return fail("cannot create folder " + path.parent_path().string() + ": " +
                        ec.message());
    }

    // What stands at the path decides how it is written.
    struct stat st;
    fs::path target = path;
    bool replacing = false;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            std::string why;
            return WriteInPlace(path, content, why) || fail(why);
        }
        if (S_ISDIR(st.st_mode)) return fail("it is a folder");
        if (!S_ISREG(st.st_mode)) return fail("it is not a regular file");
        // The permission bits are checked as well, as the super-user passes access().
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0)
            return fail("the file is read-only");
        target = fs::canonical(path, ec);  // a link's target file is the one replaced
        if (ec) return fail(ec.message());
        replacing = true;
    } else if (errno == ENOENT) {
        if (!FollowLinks(path, target)) return fail("its links cannot be followed");
    } else {
        return fail(Reason(errno));
    }

    RemoveLeftTemporaries(target);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder /
               (TempPrefix(target) + std::to_string(getpid()) + "-" + std::to_string(counter++));
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return fail(Reason(errno));
    }
    if (fd < 0) return fail("no free temporary name");
    flock(fd, LOCK_EX);  // tells a concurrent cleanup that this file is in use
    if (replacing) fchmod(fd, st.st_mode & 07777);
    const bool wait = waitForDisk;
    bool ok = WriteAll(fd, content) && (!wait || fsync(fd) == 0);
    const int err = errno;
    // Renamed while still open and locked, so no cleanup takes it away in between.
    if (!ok || rename(temp.c_str(), target.c_str()) != 0) {
        const int renameErr = errno;
        close(fd);
        fs::remove(temp, ec);
        return fail(ok ? "cannot replace it: " + Reason(renameErr) : Reason(err));
    }
    close(fd);
    if (!wait) return true;
    if (const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);  // the rename itself reaches the disk
        close(dir);
    }
    return true;
}

bool ReadWholeFile(const fs::path& path, std::string& out, std::string* error, uint64_t maxBytes) {
    out.clear();
    auto fail = [&](const std::string& what) {
        if (error) *error = "cannot read " + path.string() + ": " + what;
        out.clear();
        return false;
    };
    // Devices and pipes are not even opened (opening can block or act on a device); the open
    // file is checked once more, without waiting, in case the path changed meanwhile.
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return fail(Reason(errno));
    if (S_ISDIR(st.st_mode)) return fail("it is a folder");
    if (!S_ISREG(st.st_mode)) return fail("it is not a regular file");
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(Reason(errno));
    std::string why;
    if (fstat(fd, &st) != 0) {
        why = Reason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    } else if (uint64_t(st.st_size) > maxBytes) {
        why = TooLarge(maxBytes);
    }
    if (why.empty()) {
        out.reserve(size_t(st.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) why = Reason(errno);
            if (n <= 0) break;
            if (out.size() + size_t(n) > maxBytes) {  // it grew while being read
                why = TooLarge(maxBytes);
                break;
            }
            out.append(buffer, size_t(n));
        }
    }
    close(fd);
    return why.empty() || fail(why);
}

}  // namespace vallorn
