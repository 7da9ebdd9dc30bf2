#include "support/test_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vallorn::test {

fs::path BuildRoot() {
    return fs::path(VALLORN_BUILD_ROOT);
}
fs::path SourceRoot() {
    return fs::path(VALLORN_SOURCE_ROOT);
}

namespace {
// An installed game keeps its terrain mesh caches under $XDG_CACHE_HOME: in the test programs
// and the programs they start, that is a folder of the build tree, never the user's own cache.
[[maybe_unused]] const bool kCacheInBuildTree = [] {
    setenv("XDG_CACHE_HOME", (BuildRoot() / "tests" / "xdg-cache").c_str(), 1);
    return true;
}();
}  // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("vallorn-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void MakeProgramFolder(const fs::path& root) {
    fs::create_directories(root / "data");
    fs::create_directories(root / "worlds");
    fs::create_directories(root / "save");
    fs::create_directories(root / "addons");
    for (const char* name : {"Params.ini", "GameParams.ini"}) {
        fs::copy_file(SourceRoot() / "assets" / "data" / name, root / "data" / name,
                      fs::copy_options::overwrite_existing);
    }
}

// Named by the running test program's size and time, so that a rebuilt program never takes
// meshes that an older mesh builder made.
const fs::path& SharedTestFolder() {
    static const fs::path folder = [] {
        std::error_code ec;
        const fs::path program = fs::read_symlink("/proc/self/exe", ec);
        const auto size = fs::file_size(program, ec);
        const auto time = uint64_t(fs::last_write_time(program, ec).time_since_epoch().count());
        const fs::path root = BuildRoot() / "tests" / "mesh-cache";
        const std::string prefix = program.filename().string() + "-";
        const std::string name = prefix + std::to_string(size) + "-" + std::to_string(time);
        for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string other = it->path().filename().string();
            std::error_code ignored;
            if (other.starts_with(prefix) && other != name) fs::remove_all(it->path(), ignored);
        }
        return root / name;
    }();
    return folder;
}

fs::path SharedMeshCache() {
    return SharedTestFolder() / "vmesh";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace vallorn::test
