// The level editor: a level made from a 513 x 513 grey height map, from the picture to the
// loaded level with its blocked terrain (target: at most 2 s), and the mesh building alone.
#include <benchmark/benchmark.h>

#include <stb_image_write.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <unistd.h>

#include "editor/level_editor.h"

namespace {

namespace fs = std::filesystem;
using namespace vallorn;

// A program folder under /tmp with the build's data and blank level, and a hilly height map.
struct EditorRoot {
    EditorRoot() {
        root = fs::temp_directory_path() / ("vallorn-bench-editor-" + std::to_string(getpid()));
        fs::create_directories(root / "worlds");
        fs::create_directories(root / "addons");
        fs::create_directories(root / "save");
        fs::create_symlink(fs::path(VALLORN_BUILD_ROOT) / "data", root / "data");
        for (const auto& e : fs::directory_iterator(fs::path(VALLORN_BUILD_ROOT) / "worlds"))
            if (e.path().filename().string().rfind(kBlankLevel, 0) == 0)
                fs::create_symlink(e.path(), root / "worlds" / e.path().filename());
        std::vector<uint8_t> grey(size_t(kGridSide) * kGridSide);
        for (int y = 0; y < kGridSide; ++y)
            for (int x = 0; x < kGridSide; ++x)
                grey[size_t(y) * kGridSide + size_t(x)] =
                    uint8_t(120 + 100 * std::sin(x / 60.0) * std::cos(y / 45.0));
        picture = root / "Hill.png";
        if (!stbi_write_png(picture.c_str(), kGridSide, kGridSide, 1, grey.data(), kGridSide)) {
            std::fprintf(stderr, "cannot write %s\n", picture.c_str());
            std::exit(1);
        }
    }
    ~EditorRoot() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path root, picture;
};

EditorRoot& Root() {
    static EditorRoot root;
    return root;
}

void BM_NewLevelFromHeightMap(benchmark::State& state) {
    EditorRoot& r = Root();
    for (auto _ : state) {
        TSKIEngine engine(TSKIEngineSetup{r.root, 1, nullptr});
        std::string error;
        if (!NewLevelFromHeightMap(engine, r.picture, "BenchHill", &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(engine.Level.MaxHeight);
    }
}
BENCHMARK(BM_NewLevelFromHeightMap)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HeightMapMeshes(benchmark::State& state) {
    EditorRoot& r = Root();
    TGreyImage grey;
    if (!LoadGreyImage(r.picture, grey)) {
        state.SkipWithError("cannot read the height map");
        return;
    }
    for (auto _ : state) {
        const THeightField field = HeightFieldFromPicture(grey, 2.0f);
        std::string error;
        if (!BuildTerrainMeshes(field, 2.0f, -40.0f, r.root / "addons", "BenchMesh", &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
}
BENCHMARK(BM_HeightMapMeshes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
