#include "persistence/atomic_file.h"

#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vallorn {

bool WriteFileAtomically(const fs::path& path, std::string_view content, std::string* error) {
    static std::atomic<unsigned> counter{0};
    auto fail = [&](const std::string& what) {
        if (error) *error = what;
        return false;
    };
    std::error_code ec;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            return fail("cannot create folder " + path.parent_path().string() + ": " +
                        ec.message());
    }
    fs::path temp = path;
    temp += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return fail("cannot write " + path.string() + ": " + std::strerror(errno));
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
        int err = errno;
        fs::remove(temp, ec);
        return fail("cannot write " + path.string() + ": " + std::strerror(err));
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fail("cannot replace " + path.string() + ": " + ec.message());
    }
    return true;
}

bool ReadWholeFile(const fs::path& path, std::string& out) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = std::move(ss).str();
    return !in.bad();
}

}  // namespace vallorn
