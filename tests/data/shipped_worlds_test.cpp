// The shipped worlds as the build generated them: the campaign's and the sandbox's levels, the
// starting games of the sandbox maps and every other shipped game, and the pictures of the
// campaign and sandbox windows. Under the sanitizers, where loading every world takes minutes,
// a few worlds of each kind stand for them all; the optimised build checks every one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "base/image.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "park/resort_layout.h"
#include "persistence/saved_game.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

const char* const kSandboxMaps[] = {
    "Aldermoor", "Brightwater", "Corrie",    "Dunmere",   "Eastfell",   "Frostholm", "Glenvar",
    "Highcairn", "Ironridge",   "Juniper",   "Kestrel",   "Larchwood",  "Moorfoot",  "Northscar",
    "Owlpass",   "Pinebrook",   "Quarrytop", "Ravenhead", "Stonehaven", "Thornvale", "Whitepeak"};

#ifdef VALLORN_FEW_SHIPPED_WORLDS
constexpr bool kEveryWorld = false;
#else
constexpr bool kEveryWorld = true;
#endif

std::vector<std::string> ShippedLevelNames() {
    if (!kEveryWorld) return {"Mountain", "blank", "Mission01", "Aldermoor"};
    std::vector<std::string> names = {"Mountain", "Training", "blank"};
    for (int m = 1; m <= 15; ++m)
        names.push_back((m < 10 ? "Mission0" : "Mission") + std::to_string(m));
    for (const char* map : kSandboxMaps) names.push_back(map);
    return names;
}

// The sandbox maps by number (1 to 21), the last being the bonus map.
std::vector<int> SandboxMapNumbers() {
    if (!kEveryWorld) return {1, 21};
    std::vector<int> numbers;
    for (int n = 1; n <= 21; ++n) numbers.push_back(n);
    return numbers;
}

// A 24-bit BMP read back (bottom-up rows); empty when the file is not one.
TSKIImage ReadBmp(const fs::path& file) {
    const std::string bmp = test::ReadText(file);
    auto little = [&](size_t at) {
        uint32_t v = 0;
        for (int k = 3; k >= 0; --k) v = (v << 8) | uint8_t(bmp[at + size_t(k)]);
        return v;
    };
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || (little(28) & 0xFFFF) != 24) return {};
    const int w = int(little(18)), h = int(little(22));
    const size_t offset = little(10), row = (size_t(w) * 3 + 3) & ~size_t(3);
    if (w <= 0 || h <= 0 || bmp.size() < offset + row * size_t(h)) return {};
    TSKIImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const char* p = bmp.data() + offset + row * size_t(h - 1 - y) + size_t(x) * 3;
            image.Set(x, y, {uint8_t(p[2]), uint8_t(p[1]), uint8_t(p[0])});
        }
    return image;
}

// The inner end of a level's road: the road cell farthest from the map's edge.
bool RoadEnd(const TSKIEngine& e, int& ri, int& rj) {
    int best = -1;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            if (e.Cell(i, j).Kind != kCellRoad) continue;
            const int inland = std::min({i, j, kGridSize - 1 - i, kGridSize - 1 - j});
            if (inland > best) best = inland, ri = i, rj = j;
        }
    return best >= 0;
}

class ShippedWorlds : public testing::Test {
protected:
    // A program folder whose worlds/ links to the build's generated files.
    void SetUp() override {
        test::MakeProgramFolder(dir.Path());
        for (const auto& e : fs::directory_iterator(test::BuildRoot() / "worlds"))
            fs::create_symlink(e.path(), dir / "worlds" / e.path().filename());
    }
    std::unique_ptr<TSKIEngine> Engine() {
        return std::make_unique<TSKIEngine>(TSKIEngineSetup{dir.Path(), 3, nullptr});
    }
    test::TempDir dir;
};

TEST_F(ShippedWorlds, EveryLevelLoadsWithARoadAndNoTwoShareTheirHeights) {
    std::map<uint64_t, std::string> seen;
    for (const std::string& name : ShippedLevelNames()) {
        auto engine = Engine();
        const TSKILevelLoadResult r = LoadLevelFile(*engine, name, false);
        ASSERT_TRUE(r.ok()) << name << ": " << r.error;
        uint64_t hash = 1469598103934665603ull;  // FNV-1a over the cell heights
        for (int i = 0; i < kGridSize; ++i)
            for (int j = 0; j < kGridSize; ++j) {
                uint32_t bits;
                const float h = engine->Cell(i, j).Height;
                std::memcpy(&bits, &h, 4);
                hash = (hash ^ bits) * 1099511628211ull;
            }
        const auto [at, fresh] = seen.emplace(hash, name);
        EXPECT_TRUE(fresh) << name << " has the heights of " << at->second;
        int ri = 0, rj = 0;
        EXPECT_TRUE(name == "blank" || RoadEnd(*engine, ri, rj)) << name << " has no road";
    }
}

TEST_F(ShippedWorlds, EveryShippedGameLoadsWhole) {
    int games = 0;
    for (const auto& e : fs::directory_iterator(test::BuildRoot() / "worlds")) {
        if (e.path().extension() != ".ski") continue;
        const std::string stem = e.path().stem().string();
        if (!kEveryWorld && stem != "Starter" && stem != "Aldermoor" && stem != "Mission01")
            continue;
        auto engine = Engine();
        EXPECT_TRUE(LoadGameFile(*engine, dir / "worlds" / e.path().filename()))
            << e.path().filename() << ": " << engine->LoadError;
        EXPECT_TRUE(engine->LoadWarnings.empty()) << e.path().filename();
        ++games;
    }
    EXPECT_GE(games, kEveryWorld ? 22 : 3);  // the starter park and the 21 sandbox maps at least
}

// Each sandbox map starts with one parking lot by its road's end, the camera there, and room
// beside it for a lift that climbs into the relief.
TEST_F(ShippedWorlds, SandboxMapsStartWithAParkingLotByTheRoadAndRoomForAResort) {
    for (const int n : SandboxMapNumbers()) {
        const std::string name = kSandboxMaps[n - 1];
        SCOPED_TRACE(name);
        auto engine = Engine();
        ASSERT_TRUE(LoadGameFile(*engine, dir / "worlds" / (name + ".ski"))) << engine->LoadError;
        EXPECT_EQ(engine->Park.ParkMissionIndex, -n);
        ASSERT_EQ(engine->Buildings.size(), 1u);
        const TSKIBuilding& parking = *engine->Buildings[0];
        EXPECT_EQ(parking.Type, kBuildParking);
        int ri = 0, rj = 0, pi = 0, pj = 0;
        ASSERT_TRUE(RoadEnd(*engine, ri, rj));
        TSKIEngine::WorldToCell(parking.Position, pi, pj);
        EXPECT_LE(std::max(std::abs(pi - ri), std::abs(pj - rj)), 12);
        const TSKIVector end = engine->CellToWorld(ri, rj, false);
        EXPECT_NEAR(engine->Viewpoint.FocusX, end.x, 8);
        EXPECT_NEAR(engine->Viewpoint.FocusZ, end.z, 8);
        int line[4];
        EXPECT_TRUE(
            datagen::FindLiftLine(*engine, kLiftQuadChair, pi, pj, 24, 6, 40.0f, 0.3f, line))
            << "no quad chairlift climbing 40 from beside the parking lot";

        const TSKIImage thumb =
            ReadBmp(test::BuildRoot() / "data" / ("ThMap" + std::to_string(n) + ".bmp"));
        EXPECT_EQ(thumb.Width(), 160);
        EXPECT_EQ(thumb.Height(), 120);
        if (name == "Whitepeak") {
            // The bonus map keeps its own, hard objectives.
            EXPECT_EQ(engine->Park.ParkCash, 150000);
            std::set<int> types;
            for (const auto& o : engine->Objectives)
                if (o.Primary && o.Active) types.insert(o.Type);
            EXPECT_GE(types.size(), 5u);
        }
    }
}

// Mean absolute difference between horizontal neighbours over the pixels `inside` selects.
double Busyness(const TSKIImage& image, const std::function<bool(int, int)>& inside) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 1; x < image.Width(); ++x) {
            if (!inside(x, y)) continue;
            const TSKIColor a = image.Get(x - 1, y), b = image.Get(x, y);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            ++n;
        }
    return n ? sum / n : 0;
}

TEST(WorldPictures, CampaignMapKeepsThePanelSpotsCalmAndTheButtonsDiffer) {
    const TSKIImage map = ReadBmp(test::BuildRoot() / "data" / "campaign.bmp");
    ASSERT_EQ(map.Width(), 1024);
    ASSERT_EQ(map.Height(), 768);
    auto onPanel = [](int x, int y) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c) {
                const int left = 48 + c * 196, top = 56 + r * 224;
                if (x >= left && x < left + 123 && y >= top && y < top + 74) return true;
            }
        return false;
    };
    const double panels = Busyness(map, onPanel);
    const double rest = Busyness(map, [&](int x, int y) { return !onPanel(x, y); });
    EXPECT_LT(panels * 2, rest) << "the panel spots are as busy as the map";

    std::set<std::string> buttons;
    for (int stars = 0; stars <= 5; ++stars)
        for (const char* kind : {"star", "starOFF"}) {
            const auto file = test::BuildRoot() / "data" / (kind + std::to_string(stars) + ".bmp");
            const TSKIImage button = ReadBmp(file);
            EXPECT_EQ(button.Width(), 48) << file;
            EXPECT_EQ(button.Height(), 48) << file;
            EXPECT_TRUE(
                buttons.insert(std::string(button.Pixels().begin(), button.Pixels().end())).second)
                << file << " repeats a button";
        }
}

}  // namespace
}  // namespace vallorn
