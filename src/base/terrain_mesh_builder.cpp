#include "base/terrain_mesh_builder.h"

#include <system_error>

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include "base/atomic_file.h"
#include "base/terrain_mesh_cache.h"
#include "base/types.h"

namespace fs = std::filesystem;

namespace vallorn {
namespace {

// The surface is cut into 4 x 4 tiles of 128 cells (129 x 129 vertices, 32768 triangles), so
// every tile fits the 16-bit vertex and face counts of a 3DS mesh. Adjacent tiles repeat
// their shared edge vertices.
constexpr int kTilesPerSide = 4;
constexpr int kTileCells = kGridSize / kTilesPerSide;
constexpr int kTileVerts = kTileCells + 1;

// Texture coordinates: the ground images are laid out like the overlay images, pixel (x, y)
// of an image with N pixels per side covering cell (i, j) = (x * 512 / N, y * 512 / N). So u
// runs along i and v along j, and the centre of pixel (i, j) of a 512-pixel image sits on the
// world point of cell (i, j): u = (i + 0.5) / 512, v = (j + 0.5) / 512. The map's cells
// 0..511 thus cover 0..1 exactly; the vertices of row and column 512 (past the last cell)
// lie half a cell beyond 1. Images are stored top row first and uploaded so that row 0 is
// v = 0; the 3DS files keep the values as written here.
float TexCoord(int index) {
    return (float(index) + 0.5f) / float(kGridSize);
}

aiVector3D VertexAt(const THeightField& field, float scaleY, int i, int j) {
    return aiVector3D(-kCellSize * float(i) - 0.5f, field.At(i, j) / scaleY,
                      kCellSize * float(j) - 0.5f);
}

aiMaterial* NamedMaterial(const char* name) {
    auto* material = new aiMaterial();
    aiString s(name);
    material->AddProperty(&s, AI_MATKEY_NAME);
    return material;
}

aiMesh* NewMesh(unsigned vertices, unsigned faces) {
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = 0;
    mesh->mNumVertices = vertices;
    mesh->mVertices = new aiVector3D[vertices];
    mesh->mTextureCoords[0] = new aiVector3D[vertices];
    mesh->mNumUVComponents[0] = 2;
    mesh->mNumFaces = faces;
    mesh->mFaces = new aiFace[faces];
    return mesh;
}

void SetTriangle(aiFace& face, unsigned a, unsigned b, unsigned c) {
    face.mNumIndices = 3;
    face.mIndices = new unsigned[3]{a, b, c};
}

// Two triangles a cell over a square grid of `cells` x `cells` cells whose vertices are laid
// out row by row.
void SetGridFaces(aiMesh& mesh, int cells) {
    const int verts = cells + 1;
    unsigned f = 0;
    for (int a = 0; a < cells; ++a) {
        for (int b = 0; b < cells; ++b) {
            const unsigned v00 = unsigned(a * verts + b), v01 = v00 + 1;
            const unsigned v10 = v00 + unsigned(verts), v11 = v10 + 1;
            SetTriangle(mesh.mFaces[f++], v00, v10, v01);
            SetTriangle(mesh.mFaces[f++], v10, v11, v01);
        }
    }
}

// One surface tile. Triangles wind counter-clockwise seen from above (+Y).
aiMesh* SurfaceTile(const THeightField& field, float scaleY, int ti, int tj) {
    const int i0 = ti * kTileCells, j0 = tj * kTileCells;
    aiMesh* mesh = NewMesh(kTileVerts * kTileVerts, kTileCells * kTileCells * 2);
    for (int a = 0; a < kTileVerts; ++a) {
        for (int b = 0; b < kTileVerts; ++b) {
            const unsigned v = unsigned(a * kTileVerts + b);
            mesh->mVertices[v] = VertexAt(field, scaleY, i0 + a, j0 + b);
            mesh->mTextureCoords[0][v] = aiVector3D(TexCoord(i0 + a), TexCoord(j0 + b), 0);
        }
    }
    SetGridFaces(*mesh, kTileCells);
    return mesh;
}

// One side of the skirt: a vertical strip under the grid edge given by a start vertex and a
// step, from the edge heights down to `bottom`.
aiMesh* SkirtSide(const THeightField& field, float scaleY, float bottom, int i0, int j0, int di,
                  int dj, bool flip) {
    const int n = kGridSide;
    aiMesh* mesh = NewMesh(unsigned(2 * n), unsigned(2 * (n - 1)));
    for (int k = 0; k < n; ++k) {
        const int i = i0 + di * k, j = j0 + dj * k;
        const aiVector3D top = VertexAt(field, scaleY, i, j);
        const aiVector3D uv(TexCoord(i), TexCoord(j), 0);
        mesh->mVertices[2 * k] = top;
        mesh->mVertices[2 * k + 1] = aiVector3D(top.x, bottom / scaleY, top.z);
        mesh->mTextureCoords[0][2 * k] = uv;
        mesh->mTextureCoords[0][2 * k + 1] = uv;
    }
    unsigned f = 0;
    for (int k = 0; k + 1 < n; ++k) {
        const unsigned t0 = unsigned(2 * k), b0 = t0 + 1, t1 = t0 + 2, b1 = t0 + 3;
        if (flip) {
            SetTriangle(mesh->mFaces[f++], t0, t1, b0);
            SetTriangle(mesh->mFaces[f++], b0, t1, b1);
        } else {
            SetTriangle(mesh->mFaces[f++], t0, b0, t1);
            SetTriangle(mesh->mFaces[f++], b0, b1, t1);
        }
    }
    return mesh;
}

// The landscape around the map: the neighbouring tile (ti, tj) of the 3 x 3 around the map
// (the map itself is tile (0, 0)) holds the map's terrain reflected about the edges it lies
// beyond, every kRingStep cells. Extended grid index k (from -512 to 1024) takes the height of
// grid point ReflectedGridIndex(k), so the heights meet the map's at its edges. The texture
// coordinates follow the reflection too.
constexpr int kRingStep = 16;
constexpr int kRingCells = kGridSize / kRingStep;
constexpr int kRingVerts = kRingCells + 1;

aiMesh* RingTile(const THeightField& field, float scaleY, int ti, int tj) {
    aiMesh* mesh = NewMesh(kRingVerts * kRingVerts, kRingCells * kRingCells * 2);
    for (int a = 0; a < kRingVerts; ++a) {
        for (int b = 0; b < kRingVerts; ++b) {
            const int i = ti * kGridSize + a * kRingStep, j = tj * kGridSize + b * kRingStep;
            const int ri = ReflectedGridIndex(i), rj = ReflectedGridIndex(j);
            const unsigned v = unsigned(a * kRingVerts + b);
            mesh->mVertices[v] = aiVector3D(-kCellSize * float(i) - 0.5f, field.At(ri, rj) / scaleY,
                                            kCellSize * float(j) - 0.5f);
            mesh->mTextureCoords[0][v] = aiVector3D(TexCoord(ri), TexCoord(rj), 0);
        }
    }
    SetGridFaces(*mesh, kRingCells);
    return mesh;
}

// A scene holding `meshes`, all under the root node with an identity transform, with one
// material. The scene takes ownership.
aiScene* MakeScene(std::vector<aiMesh*> meshes, const char* material) {
    auto* scene = new aiScene();
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { NamedMaterial(material) };
    scene->mNumMeshes = unsigned(meshes.size());
    scene->mMeshes = new aiMesh*[meshes.size()];
    scene->mRootNode = new aiNode("root");
    scene->mRootNode->mNumMeshes = unsigned(meshes.size());
    scene->mRootNode->mMeshes = new unsigned[meshes.size()];
    for (size_t k = 0; k < meshes.size(); ++k) {
        scene->mMeshes[k] = meshes[k];
        scene->mRootNode->mMeshes[k] = unsigned(k);
    }
    return scene;
}

// The triangles of `scene` as one mesh, the way the 3DS reader gives them back: the meshes in
// order, their vertices as written (the root's transform is the identity).
TSKIRawMesh RawMesh(const aiScene& scene) {
    TSKIRawMesh raw;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        const uint32_t base = uint32_t(raw.Vertices.size());
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            const aiVector3D& p = mesh.mVertices[v];
            raw.Vertices.emplace_back(p.x, p.y, p.z);
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                raw.Indices.push_back(base + face.mIndices[k]);
        }
    }
    return raw;
}

// Writes `scene` as a 3DS file, and its cache into `cacheFolder` when there is one: the
// same cache as reading the file back gives, without parsing it. The scene stays the caller's.
bool ExportScene(const aiScene& scene, const fs::path& target, const fs::path& cacheFolder,
                 std::string* error) {
    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(&scene, "3ds");
    if (!blob) {
        if (error) *error = "cannot write " + target.string() + ": " + exporter.GetErrorString();
        return false;
    }
    const std::string_view bytes(static_cast<const char*>(blob->data), blob->size);
    if (!WriteFileAtomically(target, bytes, error)) return false;
    if (!cacheFolder.empty()) {
        TSKIRawMesh mesh = RawMesh(scene);
        WeldMesh(mesh);
        WriteMeshCache(MeshCachePath(cacheFolder, target, bytes), bytes, mesh, nullptr);
    }
    return true;
}

}  // namespace

bool BuildTerrainMeshes(const THeightField& field, float scaleY, float skirtBottom,
                        const fs::path& folder, const std::string& stem, std::string* error,
                        const fs::path& cacheFolder) {
    if (field.Side != kGridSide || field.Heights.size() != size_t(kGridSide) * kGridSide) {
        if (error) *error = "the height field must hold 513 x 513 heights";
        return false;
    }
    if (!(scaleY > 0)) {
        if (error) *error = "the Y scale must be positive";
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);

    std::vector<aiMesh*> tiles;
    for (int ti = 0; ti < kTilesPerSide; ++ti)
        for (int tj = 0; tj < kTilesPerSide; ++tj)
            tiles.push_back(SurfaceTile(field, scaleY, ti, tj));
    aiScene* surface = MakeScene(std::move(tiles), "base");
    const bool surfaceOk = ExportScene(*surface, folder / (stem + "H.3ds"), cacheFolder, error);
    delete surface;
    if (!surfaceOk) return false;

    // Edges: i = 0 (the +X side), i = 512, j = 0, j = 512. Each strip faces outwards.
    std::vector<aiMesh*> sides;
    sides.push_back(SkirtSide(field, scaleY, skirtBottom, 0, 0, 0, 1, true));
    sides.push_back(SkirtSide(field, scaleY, skirtBottom, kGridSize, 0, 0, 1, false));
    sides.push_back(SkirtSide(field, scaleY, skirtBottom, 0, 0, 1, 0, false));
    sides.push_back(SkirtSide(field, scaleY, skirtBottom, 0, kGridSize, 1, 0, true));
    // Then the eight tiles of landscape around the map.
    for (int ti = -1; ti <= 1; ++ti)
        for (int tj = -1; tj <= 1; ++tj)
            if (ti != 0 || tj != 0) sides.push_back(RingTile(field, scaleY, ti, tj));
    aiScene* skirt = MakeScene(std::move(sides), "baseSide");
    const bool skirtOk = ExportScene(*skirt, folder / (stem + "Side.3ds"), cacheFolder, error);
    delete skirt;
    return skirtOk;
}

}  // namespace vallorn
