#include "support/test_support.h"

#include <unistd.h>
#include <atomic>
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
        fs::copy_file(BuildRoot() / "data" / name, root / "data" / name,
                      fs::copy_options::overwrite_existing);
    }
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
