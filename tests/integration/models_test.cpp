// The generated models: every model the parameter files and the scene name is in the data
// folder and loads through assimp with triangles; the seats of each carrier and building and
// the doors sit where Params.ini puts them; a building's panes lie on its walls.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "base/params.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

fs::path Data() {
    return test::BuildRoot() / "data";
}

TSKIParameters ShippedParams() {
    TSKIParameters p;
    LoadCatalogues(Data(), p, nullptr);
    return p;
}

// Triangles of the file, read as the game reads models (no post-processing).
size_t Triangles(const fs::path& file) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene) return 0;
    size_t n = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
            n += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
    return n;
}

TEST(GeneratedModels, EveryModelTheGameNamesLoadsWithTriangles) {
    const TSKIParameters params = ShippedParams();
    ASSERT_EQ(params.LiftTypesRead, kLiftTypeCount);
    std::vector<std::string> files = {"HeliRotor.obj", "Sign.obj",       "wheel.obj",
                                      "gate.obj",      "gateClosed.obj", "RescueScooter.obj",
                                      "Heli.obj",      "HeliGL.obj",     "HeliLow.3DS",
                                      "SCatH.obj",     "SCatHGL.obj",    "SCatL.3DS"};
    for (int n = 0; n < 10; ++n) {
        files.push_back("car" + std::to_string(n) + ".obj");
        files.push_back("House" + std::to_string(n) + ".obj");
        files.push_back("House" + std::to_string(n) + "L.3DS");
    }
    for (const TSKILiftParams& l : params.Lifts)
        for (const std::string* name :
             {&l.ModelHiStart, &l.ModelHiEnd, &l.ModelHiPole, &l.ModelHiGondole, &l.ModelLoStart,
              &l.ModelLoEnd, &l.ModelLoPole, &l.ModelLoGondole})
            files.push_back(*name + ".obj");
    // The cabins and the six-seater's bubble have glass.
    for (int t : {4, 5, 6}) files.push_back(params.Lifts[size_t(t)].ModelHiGondole + "GL.3DS");
    for (const TSKIBuildingParams& b : params.Buildings) {
        files.push_back(b.ModelHi + ".obj");
        files.push_back(b.ModelLow + ".3DS");
    }
    for (const TSKIVehicleParams& v : params.Vehicles) files.push_back(v.ModelHi + ".obj");
    for (const std::string& f : files) EXPECT_GT(Triangles(Data() / f), 0u) << f;
}

// The centres of the parts named "Seat<k>" (index k) and "Door" of a model.
struct TMarks {
    std::vector<aiVector3D> seats;
    std::vector<bool> found;
    int seatParts = 0;
    bool door = false;
    aiVector3D doorAt;
};

void Collect(const aiScene& scene, const aiNode& node, TMarks& marks) {
    const std::string name = node.mName.C_Str();
    if (node.mNumMeshes > 0 && (name.rfind("Seat", 0) == 0 || name == "Door")) {
        aiVector3D sum;
        unsigned count = 0;
        for (unsigned m = 0; m < node.mNumMeshes; ++m) {
            const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
            for (unsigned v = 0; v < mesh.mNumVertices; ++v, ++count) sum += mesh.mVertices[v];
        }
        const aiVector3D centre = count ? sum / float(count) : sum;
        if (name == "Door") {
            marks.door = true;
            marks.doorAt = centre;
        } else {
            const size_t k = size_t(std::stoi(name.substr(4)));
            if (k >= marks.seats.size()) marks.seats.resize(k + 1), marks.found.resize(k + 1);
            marks.seats[k] = centre;
            marks.found[k] = true;
            ++marks.seatParts;
        }
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) Collect(scene, *node.mChildren[c], marks);
}

TMarks Marks(const fs::path& file) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    TMarks marks;
    if (scene) Collect(*scene, *scene->mRootNode, marks);
    return marks;
}

void ExpectNear(const aiVector3D& at, float x, float y, float z, const std::string& what) {
    constexpr float kTolerance = 0.02f;
    EXPECT_NEAR(at.x, x, kTolerance) << what;
    EXPECT_NEAR(at.y, y, kTolerance) << what;
    EXPECT_NEAR(at.z, z, kTolerance) << what;
}

// Carriers hold seat k at (-x, y, z) of LiftGondoleOffsets k (the game's x runs to the rider's
// right, the model's -x; surface hangers are drawn at the hips, y = 0); buildings hold seats
// and door at their Params.ini offsets.
TEST(GeneratedModels, SeatsAndDoorsSitWhereTheParametersPutThem) {
    const TSKIParameters params = ShippedParams();
    for (const TSKILiftParams& l : params.Lifts) {
        for (const std::string* name : {&l.ModelHiGondole, &l.ModelLoGondole}) {
            const TMarks marks = Marks(Data() / (*name + ".obj"));
            ASSERT_EQ(marks.seatParts, int(l.GondoleCapacity)) << *name;
            for (int k = 0; k < l.GondoleCapacity; ++k) {
                const TSKIVector& o = l.GondoleOffsets[size_t(k)];
                ASSERT_TRUE(marks.found[size_t(k)]) << *name << " seat " << k;
                ExpectNear(marks.seats[size_t(k)], -o.x, l.OnGround ? 0.0f : o.y, o.z,
                           *name + " seat " + std::to_string(k));
            }
        }
    }
    for (const TSKIBuildingParams& b : params.Buildings) {
        const TMarks marks = Marks(Data() / (b.ModelHi + ".obj"));
        const int seats = std::min<int>(b.Capacity, kBuildingSeatsMax);
        ASSERT_EQ(marks.seatParts, seats) << b.ModelHi;
        for (int k = 0; k < seats; ++k) {
            const TSKIVector& s = b.Seats[size_t(k)];
            ExpectNear(marks.seats[size_t(k)], s.x, s.y, s.z,
                       b.ModelHi + " seat " + std::to_string(k));
        }
        EXPECT_EQ(marks.door, b.HasDoor) << b.ModelHi;
        if (b.HasDoor)
            ExpectNear(marks.doorAt, b.DoorPosition.x, 0, b.DoorPosition.z, b.ModelHi + " door");
    }
}

using TTriangle = std::array<aiVector3D, 3>;

std::vector<TTriangle> TrianglesOf(const fs::path& file) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    std::vector<TTriangle> out;
    for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k)
                out.push_back({mesh.mVertices[face.mIndices[0]], mesh.mVertices[face.mIndices[k]],
                               mesh.mVertices[face.mIndices[k + 1]]});
        }
    }
    return out;
}

aiVector3D Normal(const TTriangle& t) {
    return ((t[1] - t[0]) ^ (t[2] - t[0])).NormalizeSafe();
}

// Whether `p`, moved onto the plane of `t`, falls inside it.
bool Covers(const TTriangle& t, const aiVector3D& p) {
    const aiVector3D n = Normal(t);
    for (int k = 0; k < 3; ++k)
        if ((((t[(k + 1) % 3] - t[k]) ^ (p - t[k])) * n) < -1e-4f) return false;
    return true;
}

// Every pane of a building's glass file stands a hair in front of a wall of the building
// facing the same way (no gap to look through, no pane floating before the wall).
TEST(GeneratedModels, BuildingPanesLieOnTheirWalls) {
    int panes = 0;
    for (const TSKIBuildingParams& b : ShippedParams().Buildings) {
        if (!fs::exists(Data() / (b.ModelHi + "GL.3DS"))) continue;
        const std::vector<TTriangle> walls = TrianglesOf(Data() / (b.ModelHi + ".obj"));
        for (const TTriangle& pane : TrianglesOf(Data() / (b.ModelHi + "GL.3DS"))) {
            const aiVector3D centre = (pane[0] + pane[1] + pane[2]) / 3.0f, n = Normal(pane);
            float gap = 1e9f;  // to the nearest wall behind the pane facing its way
            for (const TTriangle& wall : walls)
                if (Normal(wall) * n > 0.99f && Covers(wall, centre))
                    gap = std::min(gap, std::fabs((centre - wall[0]) * Normal(wall)));
            EXPECT_LT(gap, 0.05f) << b.ModelHi << " pane at " << centre.x << ", " << centre.y
                                  << ", " << centre.z;
            ++panes;
        }
    }
    EXPECT_GT(panes, 40);
}

}  // namespace
}  // namespace vallorn
