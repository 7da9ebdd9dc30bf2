#include "fuzz_entries.h"

#include <unistd.h>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <stdexcept>

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include "base/image_io.h"
#include "base/ini_file.h"
#include "base/terrain_mesh.h"
#include "base/terrain_mesh_cache.h"
#include "base/wav_file.h"
#include "engine/clock.h"
#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/invariants.h"
#include "engine/level_file.h"
#include "missions/profile.h"
#include "persistence/saved_game.h"
#include "platform/help_links.h"
#include "script_parser.h"

namespace fs = std::filesystem;

namespace vallorn::fuzz {
namespace {

Result Accepted() {
    return {Outcome::Accepted, {}};
}
Result Refused(std::string why) {
    return {Outcome::Refused, std::move(why)};
}
Result Broken(std::string why) {
    return {Outcome::Broken, std::move(why)};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// --- the tiny level: two triangles of a plane rising 0.25 per row, 16-pixel images --------

constexpr float kScaleY = 2.0f;

aiMesh* Quad(const aiVector3D (&corners)[4]) {
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = 4;
    mesh->mVertices = new aiVector3D[4];
    mesh->mTextureCoords[0] = new aiVector3D[4];
    mesh->mNumUVComponents[0] = 2;
    for (int k = 0; k < 4; ++k) {
        mesh->mVertices[k] = corners[k];
        mesh->mTextureCoords[0][k] = aiVector3D(float(k & 1), float(k >> 1), 0);
    }
    mesh->mNumFaces = 2;
    mesh->mFaces = new aiFace[2];
    const unsigned faces[2][3] = {{0, 1, 2}, {2, 1, 3}};
    for (int f = 0; f < 2; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3]{faces[f][0], faces[f][1], faces[f][2]};
    }
    return mesh;
}

void ExportQuad(const aiVector3D (&corners)[4], const fs::path& target) {
    aiScene scene;
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial() };
    aiString name("base");
    scene.mMaterials[0]->AddProperty(&name, AI_MATKEY_NAME);
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh* [1] { Quad(corners) };
    scene.mRootNode = new aiNode("root");
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned[1]{0};
    Assimp::Exporter exporter;
    if (exporter.Export(&scene, "3ds", target.string()) != AI_SUCCESS)
        throw std::runtime_error("cannot write " + target.string());
}

// World point of cell (i, j) with the plane's height, as stored in the mesh (Y unscaled).
aiVector3D Corner(int i, int j) {
    return aiVector3D(-4.0f * float(i) - 0.5f, 0.25f * float(i) / kScaleY, 4.0f * float(j) - 0.5f);
}

void WriteTinyLevel(const fs::path& folder) {
    fs::create_directories(folder);
    ExportQuad({Corner(0, 0), Corner(512, 0), Corner(0, 512), Corner(512, 512)},
               folder / "TinyH.3ds");
    // The skirt: one upright quad along the i = 0 edge.
    aiVector3D low0 = Corner(0, 0), low1 = Corner(0, 512);
    low0.y = low1.y = -25.0f;
    ExportQuad({Corner(0, 0), Corner(0, 512), low0, low1}, folder / "TinySide.3ds");
    std::string error;
    if (!SaveJpeg(folder / "TinyMAP.jpg", TSKIImage(16, 16, {240, 240, 250}), 90, &error) ||
        !SaveJpeg(folder / "TinyMAPs.jpg", TSKIImage(16, 16, {90, 110, 70}), 90, &error))
        throw std::runtime_error(error);
    WriteBytes(folder / "Tiny.skil",
               "[LevelData]\nLevelElevationFile=Tiny\nLevelTextureSnow=TinyMAP.jpg\n"
               "LevelTextureGround=TinyMAPs.jpg\nLevelScaleXZ=4\nLevelScaleY=2\n");
}

// A help folder: two pages, one in a subfolder, a picture, and a link that leads out of it.
void WriteHelp(const fs::path& folder) {
    fs::create_directories(folder / "guide");
    WriteBytes(folder / "index.html", "<a href='guide/lifts.html#queue'>lifts</a>");
    WriteBytes(folder / "guide" / "lifts.html", "<img src='../map.png'>");
    WriteBytes(folder / "map.png", "png");
    fs::create_directory_symlink(folder.parent_path(), folder / "outside");
}

struct Sandbox {
    fs::path root;
    Sandbox() {
        root = fs::temp_directory_path() / ("vallorn-fuzz-" + std::to_string(getpid()));
        fs::remove_all(root);
        for (const char* sub : {"data", "save", "mesh", "mesh-cache"})
            fs::create_directories(root / sub);
        WriteTinyLevel(root / "worlds");
        WriteTinyLevel(root / "addons");
        WriteHelp(root / "help");
        fs::copy_file(root / "worlds" / "TinyH.3ds", root / "mesh" / "TinyH.3ds");
    }
    ~Sandbox() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

const Sandbox& TheSandbox() {
    static const Sandbox sandbox;
    return sandbox;
}

std::unique_ptr<TSKIEngine> NewEngine() {
    return std::make_unique<TSKIEngine>(TSKIEngineSetup{TheSandbox().root, 1, nullptr});
}

// --- INI ----------------------------------------------------------------------------------

std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// Every named section of `a` is in `b` with the same keys in the same order and the same
// values (up to blanks around them, which the reader drops).
std::string CompareIni(const TIniFile& a, const TIniFile& b) {
    if (a.Sections() != b.Sections()) return "the sections differ after a round trip";
    for (const std::string& section : a.Sections()) {
        const auto keys = a.SectionKeys(section);
        if (keys != b.SectionKeys(section))
            return "the keys of section [" + section + "] differ after a round trip";
        for (const std::string& key : keys) {
            if (Trimmed(a.ReadString(section, key)) != Trimmed(b.ReadString(section, key)))
                return "the value of " + section + "/" + key + " differs after a round trip";
        }
    }
    return {};
}

std::string RoundTrip(const TIniFile& ini) {
    return CompareIni(ini, TIniFile::FromText(ini.ToText()));
}

// --- saved games --------------------------------------------------------------------------

// Checks what the game relies on after a saved game was taken: a tick and an accounting hour
// run, and what the writer then writes loads again.
Result AfterLoad(TSKIEngine& engine) {
    // What loads is a park the invariant checker accepts.
    if (const auto problems = CheckInvariants(engine); !problems.empty())
        return Broken("the loaded park is inconsistent: " + problems.front());
    const int32_t time = engine.Park.ParkTime;
    // The clock has a day's ticks left before the end of its range, where it would stop.
    if (int64_t(time) + engine.Params.Game.DayLength > std::numeric_limits<int32_t>::max())
        return Broken("the clock stops before the day ends");
    PeriodicTick(engine);
    if (engine.Park.ParkTime < time) return Broken("a tick turned the clock back");
    const int32_t cash = engine.Park.ParkCash;
    HourlyAccounting(engine);
    if (engine.Park.ParkCash > cash) return Broken("paying the running costs raised the cash");
    const fs::path again = TheSandbox().root / "save" / "again.ski";
    std::string error;
    if (!SaveGameFile(engine, again, &error))
        return Broken("cannot save the loaded game: " + error);
    auto reload = NewEngine();
    if (!LoadGameFile(*reload, again))
        return Broken("the game saved after the load is refused: " + reload->LoadError);
    return Accepted();
}

// A name a file stores for another file stays a plain name inside its folder.
bool PlainName(const std::string& name) {
    return name.find_first_of("/\\") == std::string::npos && name != "..";
}

// What the game relies on once a level is loaded: the files it named lie in its folder and
// every cell has a finite height.
Result CheckLevel(const TSKIEngine& engine) {
    const TSKILevelData& level = engine.Level;
    for (const std::string* name :
         {&level.LevelName, &level.ElevationFile, &level.TextureSnow, &level.TextureGround})
        if (!PlainName(*name)) return Broken("the level names a file outside its folder");
    if (!std::isfinite(level.MaxHeight)) return Broken("the level's top is not finite");
    for (int i = 0; i < kGridSize; ++i) {
        const TerrainCell* row = &engine.Cell(i, 0);
        for (int j = 0; j < kGridSize; ++j)
            if (!std::isfinite(row[j].Height))
                return Broken("cell " + std::to_string(i) + "," + std::to_string(j) +
                              " has a height that is not finite");
    }
    return Accepted();
}

bool FitsFloat(double v) {
    return std::isfinite(v) && std::fabs(v) <= double(FLT_MAX);
}

}  // namespace

Result FuzzIni(std::string_view data) {
    const TIniFile ini = TIniFile::FromText(data);
    std::vector<uint8_t> bytes;
    for (const std::string& section : ini.Sections()) {
        for (const std::string& key : ini.SectionKeys(section)) {
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            (void)ini.ReadFloat(section, key, 0);
            (void)ini.ReadThousandths(section, key, "1000");
            (void)ini.ReadBinary(section, key, bytes);
        }
    }
    if (std::string why = RoundTrip(ini); !why.empty()) return Broken("read: " + why);

    // Writes: NUL-separated fields, three at a time.
    std::vector<std::string_view> fields;
    for (size_t start = 0; start <= data.size() && fields.size() < 300;) {
        size_t end = data.find('\0', start);
        if (end == std::string_view::npos) end = data.size();
        fields.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() < 3) return Accepted();
    TIniFile written;
    for (size_t k = 0; k + 2 < fields.size(); k += 3)
        written.WriteString(fields[k], fields[k + 1], fields[k + 2]);
    if (std::string why = RoundTrip(written); !why.empty()) return Broken("written: " + why);
    return Accepted();
}

Result FuzzSavedGame(std::string_view data) {
    const fs::path file = TheSandbox().root / "save" / "fuzz.ski";
    WriteBytes(file, data);
    auto engine = NewEngine();
    if (!LoadGameFile(*engine, file)) return Refused(engine->LoadError);
    for (const TSKIObjective& o : engine->Objectives)
        if (BoundedRewardValue(o.Reward, o.RewardValue) != o.RewardValue)
            return Broken("objective " + o.Name + " pays a reward its kind cannot take");
    if (Result level = CheckLevel(*engine); level.outcome == Outcome::Broken) return level;
    return AfterLoad(*engine);
}

Result FuzzLevel(std::string_view data) {
    WriteBytes(TheSandbox().root / "worlds" / "Fuzz.skil", data);
    auto engine = NewEngine();
    const TSKILevelLoadResult result = LoadLevelFile(*engine, "Fuzz", false);
    if (!result.ok()) return Refused(result.error);
    return CheckLevel(*engine);
}

Result FuzzTerrainMesh(std::string_view data) {
    const fs::path mesh = TheSandbox().root / "mesh" / "FuzzH.3ds";
    WriteBytes(mesh, data);
    TSKITerrainMesh terrain;
    std::string error;
    if (!terrain.Load(mesh, kScaleY, &error)) return Refused(error);
    const auto& vertices = terrain.Vertices();
    const auto& indices = terrain.Indices();
    if (indices.size() != 3 * terrain.TriangleCount() || terrain.Empty())
        return Broken("the triangle count does not match the indices");
    if (terrain.TriangleCount() > kMaxMeshTriangles || vertices.size() > kMaxMeshVertices)
        return Broken("the mesh holds more than a terrain may");
    for (const uint32_t k : indices)
        if (k >= vertices.size() || !std::isfinite(vertices[k].x) ||
            !std::isfinite(vertices[k].y) || !std::isfinite(vertices[k].z))
            return Broken("a triangle has a vertex that is missing or not finite");
    if (terrain.MostTrianglesPerCast() > 2 * TSKITerrainMesh::kMaxCastPile)
        return Broken("a cast tests more triangles than a cell may hold");
    for (int i = 0; i <= kGridSize; i += 16) {
        for (int j = 0; j <= kGridSize; j += 16) {
            float y = 0;
            if (terrain.CastDown(-4.0f * float(i) - 0.5f, 4.0f * float(j) - 0.5f, y) &&
                !std::isfinite(y))
                return Broken("a height cast on the mesh is not finite");
        }
    }
    return Accepted();
}

Result FuzzJpeg(std::string_view data) {
    const fs::path file = TheSandbox().root / "data" / "fuzz.jpg";
    WriteBytes(file, data);
    TSKIImage image;
    std::string error;
    if (!LoadJpeg(file, image, &error)) return Refused(error);
    const int w = image.Width(), h = image.Height();
    if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide)
        return Broken("a picture of " + std::to_string(w) + " x " + std::to_string(h) +
                      " pixels was taken");
    if (image.Pixels().size() != size_t(w) * size_t(h) * 3)
        return Broken("the pixels do not fill the picture");
    int hw = 0, hh = 0;
    if (!JpegSize(file, hw, hh, &error) || hw != w || hh != h)
        return Broken("the picture's header gives another size than its pixels");
    return Accepted();
}

Result FuzzHelpLink(std::string_view data) {
    // The first byte picks the page the link is written in, the rest is the link.
    const fs::path help = TheSandbox().root / "help";
    const fs::path pages[] = {help / "index.html", help / "guide" / "lifts.html", {}};
    const fs::path& page = pages[data.empty() ? 0 : uint8_t(data[0]) % 3];
    const std::string_view href = data.empty() ? data : data.substr(1);
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(help, ec);
    auto inside = [&](const fs::path& p) {
        const fs::path relative = fs::weakly_canonical(p, ec).lexically_relative(root);
        return !ec && !relative.empty() && *relative.begin() != "..";
    };
    const TSKIHelpLink link = ResolveHelpLink(help, page, href);
    if (link.Kind == TSKIHelpLink::TKind::Page && !inside(link.Page))
        return Broken("the link " + std::string(href) + " opens " + link.Page.string());
    if (link.Kind == TSKIHelpLink::TKind::Anchor && link.Anchor.empty())
        return Broken("the link " + std::string(href) + " leads to an anchor without a name");
    if (link.Kind == TSKIHelpLink::TKind::Ignored && link.Reason.empty())
        return Broken("the link " + std::string(href) + " is ignored without a reason");
    const fs::path resource = ResolveHelpResource(help, page, href);
    if (!resource.empty() && !inside(resource))
        return Broken("the resource " + std::string(href) + " is " + resource.string());
    return link.Kind == TSKIHelpLink::TKind::Ignored && resource.empty() ? Refused(link.Reason)
                                                                         : Accepted();
}

Result FuzzMeshCache(std::string_view data) {
    const fs::path mesh = TheSandbox().root / "mesh" / "TinyH.3ds";
    static const std::string source = [&] {
        std::ifstream in(mesh, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    // The header's source size (offset 16), source hash (offset 24) and body hash (offset 40)
    // are made to match, so the fuzzer reaches the checks of the body's values.
    std::string cache(data);
    if (cache.size() >= 32) {
        const uint64_t size = source.size(), hash = HashBytes(source);
        std::memcpy(cache.data() + 16, &size, 8);
        std::memcpy(cache.data() + 24, &hash, 8);
    }
    if (cache.size() >= 48) {
        const uint64_t body = HashBytes(std::string_view(cache).substr(48));
        std::memcpy(cache.data() + 40, &body, 8);
    }
    const fs::path caches = TheSandbox().root / "mesh-cache";
    WriteBytes(MeshCachePath(caches, mesh, source), cache);
    TSKITerrainMesh terrain;
    std::string error;
    if (!terrain.Load(mesh, kScaleY, &error, caches)) return Refused(error);
    // Heights across the map, as a level load asks for them (every 32nd cell).
    for (int i = 0; i <= kGridSize; i += 32) {
        for (int j = 0; j <= kGridSize; j += 32) {
            float y = 0;
            if (terrain.CastDown(-4.0f * float(i) - 0.5f, 4.0f * float(j) - 0.5f, y) &&
                !std::isfinite(y))
                return Broken("a height cast on the mesh is not finite");
        }
    }
    return Accepted();
}

Result FuzzScript(std::string_view data) {
    sim::Script script;
    const auto errors = sim::ParseScript(std::string(data), "fuzz.actions", script);
    if (!errors.empty()) return Refused(errors.front());
    for (const sim::ScriptStep& step : script.Steps) {
        // The runner turns these reals into floats.
        std::vector<size_t> reals;
        if (step.Command == "cursor") reals = {0, 1};
        if (step.Command == "building" && step.Args.size() > 3) reals = {3};
        for (size_t k : reals) {
            if (!FitsFloat(sim::ArgReal(step, k)))
                return Broken("line " + std::to_string(step.Line) + ": " + step.Command +
                              " takes a number that does not fit a float");
        }
    }
    return Accepted();
}

Result FuzzProfile(std::string_view data) {
    TSKIProfile profile;
    std::string why;
    if (!ParseProfile(data, profile, &why)) return Refused(why);
    if (profile.SandboxDiff < 1 || profile.SandboxDiff > kMaxSandboxDiff)
        return Broken("sandbox difficulty " + std::to_string(profile.SandboxDiff));
    const TSKIProfileTerms& t = profile.Terms;
    if (t.Friends < 0 || t.Friends > kMaxFriends)
        return Broken("friends " + std::to_string(t.Friends) + ", more than a park holds");
    if (t.LoanInterest < 0 || t.LoanInterest > kMaxLoanInterest)
        return Broken("a daily interest of " + std::to_string(t.LoanInterest) + " %");
    if (t.LoanLimit < 0 || t.LoanLimit > kMaxLoanLimit)
        return Broken("a loan limit of " + std::to_string(t.LoanLimit));
    for (const int32_t price :
         {t.MarketingPriceCheap, t.MarketingPriceNormal, t.MarketingPriceVIP, t.PRCampPrice})
        if (price < 0 || price > kMaxCampaignPrice)
            return Broken("a campaign price of " + std::to_string(price));
    for (const TSKISandboxMap& map : profile.SandBox)
        if (map.Completed > kMaxSandboxDiff)
            return Broken("a map completed at difficulty " + std::to_string(map.Completed));
    for (const TSKIMissionData& mission : profile.Missions)
        if (mission.State > kMissionCompleted)
            return Broken("mission state " + std::to_string(mission.State));
    TSKIProfile again;
    if (!ParseProfile(ProfileText(profile), again, &why))
        return Broken("the written profile does not read back: " + why);
    if (again.Missions.size() != profile.Missions.size())
        return Broken("the written profile reads back with another mission count");
    return Accepted();
}

Result FuzzWav(std::string_view data) {
    std::string why;
    const auto sound = ParseWav(data, &why);
    if (!sound) return why.empty() ? Broken("refused without a reason") : Refused(why);
    if (sound->Channels != 1 && sound->Channels != 2)
        return Broken("a sound with no usable channels");
    if (sound->Rate <= 0) return Broken("a sound with no usable rate");
    if (sound->Samples.empty() || sound->Samples.size() % size_t(sound->Channels) != 0)
        return Broken("a sound without whole frames");
    if (sound->Samples.size() > data.size()) return Broken("more samples than the file's bytes");
    return Accepted();
}

}  // namespace vallorn::fuzz
