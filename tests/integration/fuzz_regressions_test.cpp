// Every input the fuzz targets found a fault with (tests/fuzz/regressions/<target>/), and
// every seed of their corpora, goes through the same entry as the fuzz target: the reader
// takes the file or refuses it, and never crashes or leaves a value the game cannot use.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz_entries.h"
#include "support/test_support.h"

namespace vallorn::fuzz {
namespace {

namespace fs = std::filesystem;

void Replay(const std::string& target, Result (*entry)(std::string_view)) {
    std::vector<fs::path> files;
    for (const char* kind : {"regressions", "corpus"}) {
        const fs::path dir = test::SourceRoot() / "tests" / "fuzz" / kind / target;
        if (!fs::is_directory(dir)) continue;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no seeds for " << target;
    for (const fs::path& file : files) {
        const Result r = entry(test::ReadText(file));
        if (r.outcome == Outcome::Broken) ADD_FAILURE() << file.filename() << ": " << r.detail;
    }
}

TEST(FuzzRegressions, IniFiles) {
    Replay("ini", FuzzIni);
}
TEST(FuzzRegressions, SavedGames) {
    Replay("saved_game", FuzzSavedGame);
}
TEST(FuzzRegressions, LevelFiles) {
    Replay("level", FuzzLevel);
}
TEST(FuzzRegressions, MeshCaches) {
    Replay("mesh_cache", FuzzMeshCache);
}
TEST(FuzzRegressions, TerrainMeshes) {
    Replay("terrain_mesh", FuzzTerrainMesh);
}
TEST(FuzzRegressions, Pictures) {
    Replay("jpeg", FuzzJpeg);
}
TEST(FuzzRegressions, HelpLinks) {
    Replay("help_link", FuzzHelpLink);
}
TEST(FuzzRegressions, Profiles) {
    Replay("profile", FuzzProfile);
}
TEST(FuzzRegressions, SoundSamples) {
    Replay("wav", FuzzWav);
}
TEST(FuzzRegressions, ActionScripts) {
    Replay("script", FuzzScript);
}

}  // namespace
}  // namespace vallorn::fuzz
