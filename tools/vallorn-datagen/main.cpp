// vallorn-datagen: builds the data the game ships from this repository's assets.
//
//   vallorn-datagen --assets DIR --out DIR [--only LEVEL]
//   vallorn-datagen --out DIR --game DEFINITION
//   vallorn-datagen --icons DIR
//   vallorn-datagen --figures DIR
//   vallorn-datagen --help
//
// Copies DIR/data/*.ini and *.txt into OUT/data/ and DIR/help/ into OUT/help/, makes OUT/save
// and OUT/addons, draws the window's pictures, composes the music, synthesises the sound effects,
// builds the models and draws the scene's figures (trees, sky, skiers, avatar) into OUT/data/,
// and generates the levels into OUT/worlds/ (on a few threads, beside the rest), then the games
// and the starter park (a saved game on the default level). The output depends on nothing but the
// program and the assets: every random choice comes from fixed seeds, so two runs give the same
// bytes. --icons draws only the desktop icons, DIR/vallorn-SIZE.png; --figures writes only the
// scene's figures into DIR.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app_icon.h"
#include "base/atomic_file.h"
#include "figures/figures.h"
#include "game_definitions.h"
#include "level_features.h"
#include "level_writer.h"
#include "levels.h"
#include "models/models.h"
#include "music.h"
#include "parallel.h"
#include "park/starter_park.h"
#include "sounds.h"
#include "ui_images.h"
#include "world_pictures.h"

namespace fs = std::filesystem;
using namespace vallorn::datagen;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct TOptions {
    fs::path assets, out;
    std::string only;
    fs::path game;     // one game definition, built on the levels already in OUT/worlds
    fs::path icons;    // only the desktop icons, into this folder
    fs::path figures;  // only the scene's figures, into this folder
};

constexpr const char* kUsage = R"(usage: vallorn-datagen --assets DIR --out DIR [--only LEVEL]
       vallorn-datagen --out DIR --game DEFINITION
       vallorn-datagen --icons DIR
       vallorn-datagen --figures DIR
       vallorn-datagen --help

Builds the data the game ships from an assets folder (the repository's assets/):
--assets/--out  copies the parameter files and the help pages, draws the pictures, composes
                the music, makes the sounds, models and figures into OUT/data/, generates the
                levels into OUT/worlds/, then the shipped games and the starter park. Two runs
                give the same bytes.
--only LEVEL    generates only that level (and the starter park when it is its level).
--game FILE     builds the game of one definition file on the levels in OUT/worlds/.
--icons DIR     draws only the desktop icons, DIR/vallorn-SIZE.png.
--figures DIR   writes only the scene's figures into DIR.

Exit status: 0 success, 1 a file could not be read or written, 2 bad arguments.
)";

int Usage(const std::string& message) {
    std::fprintf(stderr, "vallorn-datagen: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vallorn-datagen: %s\n", message.c_str());
    return kExitFailure;
}

bool MakeFolder(const fs::path& path, std::string* error) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) *error = "cannot create " + path.string() + ": " + ec.message();
    return !ec;
}

// Copies the regular files of `from` whose extension is among `extensions` (all files when
// it is empty), in name order.
bool CopyFiles(const fs::path& from, const fs::path& to, const std::vector<std::string>& extensions,
               std::vector<fs::path>* copied, std::string* error) {
    std::error_code ec;
    if (!fs::is_directory(from, ec)) {
        *error = "no folder at " + from.string();
        return false;
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() &&
            (extensions.empty() || std::count(extensions.begin(), extensions.end(), extension)))
            files.push_back(entry.path());
    }
    if (ec) {
        *error = "cannot list " + from.string() + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::string content;
        if (!vallorn::ReadWholeFile(file, content)) {
            *error = "cannot read " + file.string();
            return false;
        }
        if (!vallorn::WriteFileAtomically(to / file.filename(), content, error)) return false;
    }
    if (copied) *copied = files;
    return true;
}

// Copies the parameter files and the hand-written lists (tips) of the assets' data folder.
// Params.ini and GameParams.ini must be among them.
bool CopyDataFiles(const fs::path& from, const fs::path& to, std::string* error) {
    std::vector<fs::path> files;
    if (!CopyFiles(from, to, {".ini", ".txt"}, &files, error)) return false;
    for (const char* required : {"Params.ini", "GameParams.ini"}) {
        if (std::none_of(files.begin(), files.end(),
                         [&](const fs::path& f) { return f.filename() == required; })) {
            *error = std::string("no ") + required + " in " + from.string();
            return false;
        }
    }
    return true;
}

// Makes and writes one level; `summary` gets its line of the progress report.
// A sandbox map also gets its thumbnail, data/ThMap<map number>.bmp.
bool GenerateLevel(const TLevelRecipe& recipe, const fs::path& out, std::string* summary,
                   std::string* error) {
    const auto start = std::chrono::steady_clock::now();
    const TLevel level = recipe.Make();
    if (!WriteLevel(level, out / "worlds", error)) {
        *error = std::string("level ") + recipe.name + ": " + *error;
        return false;
    }
    const auto& maps = SandboxLevelStyles();
    if (recipe.style >= maps.data() && recipe.style < maps.data() + maps.size()) {
        const std::string thumb = "ThMap" + std::to_string(recipe.style - maps.data() + 1) + ".bmp";
        if (!paint::WriteBmp(out / "data" / thumb, PaintThumbnail(level), error)) return false;
    }
    float maxHeight = 0;  // over the cells, as the level loader measures it
    for (int i = 0; i < kCells; ++i)
        for (int j = 0; j < kCells; ++j) maxHeight = std::max(maxHeight, level.H(i, j));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char line[256];
    std::snprintf(line, sizeof line,
                  "%-11s max height %.1f, snow %d, trees %d, blocked %d, road %d cells, %zu houses "
                  "(%.2f s)",
                  recipe.name, double(maxHeight), CountFlag(level, kFlagSnow),
                  CountFlag(level, kFlagTree), CountFlag(level, kFlagBlocked),
                  CountFlag(level, kFlagRoad), level.houses.size(), seconds);
    *summary = line;
    return true;
}

// The window's pictures, the music, the sound effects, the models and the figures, one after
// the other, into OUT/data; prints their line of the progress report.
bool WriteAssets(const TOptions& options, std::string* error) {
    const auto start = std::chrono::steady_clock::now();
    if (!WriteUiImages(options.out / "data", error) ||
        !WriteWorldPictures(options.out / "data", error))
        return false;
    const auto drawn = std::chrono::steady_clock::now();
    if (!WriteMusic(options.out / "data", error)) return false;
    const auto composed = std::chrono::steady_clock::now();
    size_t soundBytes = 0;
    if (!WriteSounds(options.out / "data", &soundBytes, error)) return false;
    const auto done = std::chrono::steady_clock::now();
    std::string models;
    if (!WriteModels(options.out / "data", &models, error)) return false;
    const auto modelled = std::chrono::steady_clock::now();
    if (!figures::WriteFigures(options.out / "data", error)) return false;
    const auto figured = std::chrono::steady_clock::now();
    std::printf(
        "window pictures (%.2f s), %zu music tracks (%.2f s), sound effects %.2f MB "
        "(%.2f s), %s (%.2f s), figures (%.2f s)\n",
        std::chrono::duration<double>(drawn - start).count(), MusicTracks().size(),
        std::chrono::duration<double>(composed - drawn).count(), double(soundBytes) / 1e6,
        std::chrono::duration<double>(done - composed).count(), models.c_str(),
        std::chrono::duration<double>(modelled - done).count(),
        std::chrono::duration<double>(figured - modelled).count());
    std::fflush(stdout);
    return true;
}

// The assets and the levels on a few threads: the assets are one job (they go in order, as
// they print), each level another; each level is made from its own seeds and written to files
// of its own, so the bytes do not depend on which thread made it. The levels' lines are printed
// in recipe order once all are done.
bool GenerateAssetsAndLevels(const std::vector<TLevelRecipe>& recipes, const TOptions& options,
                             std::string* error) {
    std::vector<const TLevelRecipe*> chosen;
    for (const TLevelRecipe& recipe : recipes)
        if (options.only.empty() || options.only == recipe.name) chosen.push_back(&recipe);
    std::vector<std::string> summaries(chosen.size()), errors(chosen.size() + 1);
    std::vector<char> ok(chosen.size() + 1, 0);
    const auto start = std::chrono::steady_clock::now();
    RunJobs(chosen.size() + 1, GeneratorThreads(), [&](size_t k) {
        if (k == 0)
            ok[0] = WriteAssets(options, &errors[0]);
        else
            ok[k] = GenerateLevel(*chosen[k - 1], options.out, &summaries[k - 1], &errors[k]);
    });
    for (size_t k = 0; k <= chosen.size(); ++k) {
        if (!ok[k]) {
            *error = errors[k];
            return false;
        }
    }
    for (const std::string& line : summaries) std::printf("%s\n", line.c_str());
    std::printf("%zu levels (%.2f s with the assets)\n", chosen.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Everything written here can be made again from the assets: the files are not waited for
    // one by one to reach the disk (seconds per run), only renamed into place.
    vallorn::SetWaitForDisk(false);
    TOptions options;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (k + 1 >= argc) return Usage("missing value after " + arg);
        if (arg == "--assets") {
            options.assets = argv[++k];
        } else if (arg == "--out") {
            options.out = argv[++k];
        } else if (arg == "--only") {
            options.only = argv[++k];
        } else if (arg == "--game") {
            options.game = argv[++k];
        } else if (arg == "--icons") {
            options.icons = argv[++k];
        } else if (arg == "--figures") {
            options.figures = argv[++k];
        } else {
            return Usage("unknown argument " + arg);
        }
    }
    if (!options.icons.empty()) {
        std::string error;
        return WriteAppIcons(options.icons, &error) ? 0 : Fail(error);
    }
    if (!options.game.empty() && !options.out.empty()) {
        const std::string why = BuildGameFromDefinition(options.game, options.out);
        return why.empty() ? 0 : Fail(why);
    }
    if (!options.figures.empty()) {
        std::string error;
        if (!MakeFolder(options.figures, &error) || !figures::WriteFigures(options.figures, &error))
            return Fail(error);
        return 0;
    }
    if (options.assets.empty() || options.out.empty())
        return Usage("--assets and --out are required");
    const auto& recipes = LevelRecipes();
    if (!options.only.empty() &&
        std::none_of(recipes.begin(), recipes.end(),
                     [&](const TLevelRecipe& r) { return options.only == r.name; })) {
        return Usage("unknown level " + options.only);
    }

    std::string error;
    for (const char* folder : {"data", "worlds", "save", "addons"})
        if (!MakeFolder(options.out / folder, &error)) return Fail(error);
    if (!CopyDataFiles(options.assets / "data", options.out / "data", &error)) return Fail(error);
    if (fs::is_directory(options.assets / "help")) {
        if (!MakeFolder(options.out / "help", &error) ||
            !CopyFiles(options.assets / "help", options.out / "help", {}, nullptr, &error))
            return Fail(error);
    }
    if (!GenerateAssetsAndLevels(recipes, options, &error)) return Fail(error);

    // The shipped games: the campaign's files as written, the games from their definitions.
    if (options.only.empty()) {
        const auto start = std::chrono::steady_clock::now();
        if (fs::is_directory(options.assets / "worlds") &&
            !CopyFiles(options.assets / "worlds", options.out / "worlds", {".txt", ".ini"}, nullptr,
                       &error))
            return Fail(error);
        if (!BuildDefinedGames(options.assets, options.out, GeneratorThreads(), &error))
            return Fail(error);
        std::printf(
            "games (%.2f s)\n",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

    // The starter park is a saved game on the default level, so it follows that level.
    if (options.only.empty() || options.only == kStarterLevel) {
        const auto start = std::chrono::steady_clock::now();
        if (!WriteStarterPark(options.out, &error)) return Fail(error);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s on %s (%.2f s)\n", kStarterFile, kStarterLevel, seconds);
    }
    return 0;
}
