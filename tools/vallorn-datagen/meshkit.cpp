#include "meshkit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>

#include "base/atomic_file.h"

namespace fs = std::filesystem;

namespace vallorn::datagen::mesh {

TVec3 operator+(TVec3 a, TVec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
TVec3 operator-(TVec3 a, TVec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
TVec3 operator*(TVec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float Dot(TVec3 a, TVec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
TVec3 Cross(TVec3 a, TVec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
TVec3 Normalized(TVec3 a) {
    const float l = std::sqrt(Dot(a, a));
    return l > 1e-12f ? a * (1.0f / l) : TVec3{0, 1, 0};
}

namespace {
constexpr float kPi = 3.14159265358979f;
}

TXform TXform::Translation(TVec3 t) {
    return {{1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z}};
}
TXform TXform::Scaling(TVec3 s) {
    return {{s.x, 0, 0, 0, 0, s.y, 0, 0, 0, 0, s.z, 0}};
}
TXform TXform::RotationX(float r) {
    const float c = std::cos(r), s = std::sin(r);
    return {{1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0}};
}
TXform TXform::RotationY(float r) {
    const float c = std::cos(r), s = std::sin(r);
    return {{c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0}};
}
TXform TXform::RotationZ(float r) {
    const float c = std::cos(r), s = std::sin(r);
    return {{c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0}};
}

TXform TXform::operator*(const TXform& o) const {
    TXform r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            float v = (j == 3) ? m[i * 4 + 3] : 0.0f;
            for (int k = 0; k < 3; ++k) v += m[i * 4 + k] * o.m[k * 4 + j];
            r.m[i * 4 + j] = v;
        }
    }
    return r;
}

float TXform::Determinant() const {
    return m[0] * (m[5] * m[10] - m[6] * m[9]) - m[1] * (m[4] * m[10] - m[6] * m[8]) +
           m[2] * (m[4] * m[9] - m[5] * m[8]);
}

TVec3 TXform::Point(TVec3 p) const {
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3],
            m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
            m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
}

TVec3 TXform::Direction(TVec3 d) const {
    // Inverse transpose of the linear part: the cofactor matrix (scale does not matter, the
    // result is normalised).
    const float a = m[0], b = m[1], c = m[2], e = m[4], f = m[5], g = m[6], h = m[8], i = m[9],
                k = m[10];
    const TVec3 r0{f * k - g * i, g * h - e * k, e * i - f * h};
    const TVec3 r1{c * i - b * k, a * k - c * h, b * h - a * i};
    const TVec3 r2{b * g - c * f, c * e - a * g, a * f - b * e};
    const float det = a * r0.x + b * r0.y + c * r0.z;
    TVec3 n{r0.x * d.x + r1.x * d.y + r2.x * d.z, r0.y * d.x + r1.y * d.y + r2.y * d.z,
            r0.z * d.x + r1.z * d.y + r2.z * d.z};
    if (det < 0) n = n * -1.0f;
    return Normalized(n);
}

int TMesh::Material(const TMaterial& material) {
    for (size_t k = 0; k < materials_.size(); ++k) {
        if (materials_[k].name == material.name) return material_ = int(k);
    }
    materials_.push_back(material);
    return material_ = int(materials_.size() - 1);
}

void TMesh::Push() {
    stack_.push_back(stack_.back());
}
void TMesh::Pop() {
    if (stack_.size() > 1) stack_.pop_back();
}
void TMesh::Apply(const TXform& x) {
    stack_.back() = stack_.back() * x;
}
void TMesh::Translate(TVec3 t) {
    Apply(TXform::Translation(t));
}
void TMesh::RotateX(float r) {
    Apply(TXform::RotationX(r));
}
void TMesh::RotateY(float r) {
    Apply(TXform::RotationY(r));
}
void TMesh::RotateZ(float r) {
    Apply(TXform::RotationZ(r));
}
void TMesh::Scale(TVec3 s) {
    Apply(TXform::Scaling(s));
}

void TMesh::AddFace(TPart& p, unsigned a, unsigned b, unsigned c) {
    // A mirroring transform turns the winding round; keep the faces facing outward.
    if (stack_.back().Determinant() < 0)
        p.faces.push_back({a, c, b});
    else
        p.faces.push_back({a, b, c});
}

TPart& TMesh::CurrentPart() {
    if (materials_.empty()) Material({"default", {0.7f, 0.7f, 0.7f}, "", 1});
    for (TPart& p : parts_) {
        if (p.name == part_ && p.material == material_) return p;
    }
    parts_.push_back(TPart{part_, material_, {}, {}});
    return parts_.back();
}

unsigned TMesh::AddVertex(TPart& p, TVec3 position, TVec3 normal, TVec2 uv) {
    const TXform& x = stack_.back();
    p.vertices.push_back({x.Point(position), x.Direction(normal), uv});
    return unsigned(p.vertices.size() - 1);
}

void TMesh::FlatQuad(TPart& p, TVec3 a, TVec3 b, TVec3 c, TVec3 d) {
    const TVec3 n = Normalized(Cross(b - a, c - a) + Cross(c - a, d - a));
    const float w = std::sqrt(Dot(b - a, b - a)), h = std::sqrt(Dot(d - a, d - a));
    const unsigned i0 = AddVertex(p, a, n, {0, 0}), i1 = AddVertex(p, b, n, {w, 0});
    const unsigned i2 = AddVertex(p, c, n, {w, h}), i3 = AddVertex(p, d, n, {0, h});
    AddFace(p, i0, i1, i2);
    AddFace(p, i0, i2, i3);
}

void TMesh::Quad(TVec3 a, TVec3 b, TVec3 c, TVec3 d) {
    FlatQuad(CurrentPart(), a, b, c, d);
}

void TMesh::Triangle(TVec3 a, TVec3 b, TVec3 c) {
    TPart& p = CurrentPart();
    const TVec3 n = Normalized(Cross(b - a, c - a));
    const unsigned i0 = AddVertex(p, a, n, {0, 0}), i1 = AddVertex(p, b, n, {1, 0});
    const unsigned i2 = AddVertex(p, c, n, {0, 1});
    AddFace(p, i0, i1, i2);
}

void TMesh::TexturedTriangle(const TVec3 q[3], const TVec2 uv[3]) {
    TPart& p = CurrentPart();
    const TVec3 n = Normalized(Cross(q[1] - q[0], q[2] - q[0]));
    const unsigned i0 = AddVertex(p, q[0], n, uv[0]), i1 = AddVertex(p, q[1], n, uv[1]);
    const unsigned i2 = AddVertex(p, q[2], n, uv[2]);
    AddFace(p, i0, i1, i2);
}

void TMesh::Box(TVec3 c, TVec3 s) {
    const float hx = s.x / 2, hz = s.z / 2;
    Block({TVec2{c.x - hx, c.z - hz},
           {c.x + hx, c.z - hz},
           {c.x + hx, c.z + hz},
           {c.x - hx, c.z + hz}},
          c.y - s.y / 2,
          {TVec2{c.x - hx, c.z - hz},
           {c.x + hx, c.z - hz},
           {c.x + hx, c.z + hz},
           {c.x - hx, c.z + hz}},
          c.y + s.y / 2);
}

void TMesh::Block(const std::array<TVec2, 4>& bottom, float y0, const std::array<TVec2, 4>& top,
                  float y1) {
    TPart& p = CurrentPart();
    TVec3 b[4], t[4];
    for (int k = 0; k < 4; ++k) {
        b[k] = {bottom[k].x, y0, bottom[k].y};
        t[k] = {top[k].x, y1, top[k].y};
    }
    // Corners run -x-z, +x-z, +x+z, -x+z: counter-clockwise seen from below.
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        FlatQuad(p, b[n], b[k], t[k], t[n]);
    }
    FlatQuad(p, t[0], t[3], t[2], t[1]);
    FlatQuad(p, b[0], b[1], b[2], b[3]);
}

void TMesh::Cylinder(TVec3 a, TVec3 b, float ra, float rb, int segments, bool caps) {
    TPart& p = CurrentPart();
    const TVec3 axis = Normalized(b - a);
    const TVec3 helper = std::fabs(axis.y) < 0.9f ? TVec3{0, 1, 0} : TVec3{1, 0, 0};
    const TVec3 u = Normalized(Cross(axis, helper)), v = Cross(u, axis);
    const float len = std::sqrt(Dot(b - a, b - a));
    const float slope = len > 0 ? (ra - rb) / len : 0;
    const unsigned first = unsigned(p.vertices.size());
    for (int s = 0; s <= segments; ++s) {
        const float t = 2 * kPi * float(s) / float(segments);
        const TVec3 dir = u * std::cos(t) + v * std::sin(t);
        const TVec3 n = Normalized(dir + axis * slope);
        AddVertex(p, a + dir * ra, n, {float(s) / float(segments), 0});
        AddVertex(p, b + dir * rb, n, {float(s) / float(segments), 1});
    }
    // The angle turns from u toward v, clockwise seen from b: the sides wind a(s), b(s+1),
    // a(s+1) to face outward.
    for (int s = 0; s < segments; ++s) {
        const unsigned i = first + unsigned(2 * s);
        AddFace(p, i, i + 3, i + 2);
        AddFace(p, i, i + 1, i + 3);
    }
    if (!caps) return;
    for (int end = 0; end < 2; ++end) {
        const float r = end ? rb : ra;
        if (r <= 0) continue;
        const TVec3 centre = end ? b : a, n = end ? axis : axis * -1.0f;
        const unsigned c = AddVertex(p, centre, n, {0.5f, 0.5f});
        for (int s = 0; s <= segments; ++s) {
            const float t = 2 * kPi * float(s) / float(segments);
            AddVertex(p, centre + (u * std::cos(t) + v * std::sin(t)) * r, n,
                      {0.5f + 0.5f * std::cos(t), 0.5f + 0.5f * std::sin(t)});
        }
        for (int s = 0; s < segments; ++s) {
            const unsigned i = c + 1 + unsigned(s);
            if (end)
                AddFace(p, c, i + 1, i);
            else
                AddFace(p, c, i, i + 1);
        }
    }
}

void TMesh::Sphere(TVec3 centre, float radius, int rings, int segments) {
    TPart& p = CurrentPart();
    const unsigned first = unsigned(p.vertices.size());
    for (int r = 0; r <= rings; ++r) {
        const float phi = kPi * float(r) / float(rings);
        for (int s = 0; s <= segments; ++s) {
            const float t = 2 * kPi * float(s) / float(segments);
            const TVec3 n{std::sin(phi) * std::cos(t), -std::cos(phi),
                          -std::sin(phi) * std::sin(t)};
            AddVertex(p, centre + n * radius, n,
                      {float(s) / float(segments), float(r) / float(rings)});
        }
    }
    const unsigned row = unsigned(segments + 1);
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            const unsigned i = first + unsigned(r) * row + unsigned(s);
            AddFace(p, i, i + 1, i + row + 1);
            AddFace(p, i, i + row + 1, i + row);
        }
    }
}

void TMesh::Extrude(const std::vector<TVec2>& outline, float z0, float z1) {
    if (outline.size() < 3) return;
    TPart& p = CurrentPart();
    const size_t n = outline.size();
    for (size_t k = 0; k < n; ++k) {
        const TVec2 a = outline[k], b = outline[(k + 1) % n];
        FlatQuad(p, {a.x, a.y, z1}, {a.x, a.y, z0}, {b.x, b.y, z0}, {b.x, b.y, z1});
    }
    TVec2 c;
    for (const TVec2& q : outline) c = {c.x + q.x / float(n), c.y + q.y / float(n)};
    for (int end = 0; end < 2; ++end) {
        const float z = end ? z1 : z0;
        const TVec3 normal{0, 0, end ? 1.0f : -1.0f};
        const unsigned ci = AddVertex(p, {c.x, c.y, z}, normal, {c.x, c.y});
        for (const TVec2& q : outline) AddVertex(p, {q.x, q.y, z}, normal, {q.x, q.y});
        for (size_t k = 0; k < n; ++k) {
            const unsigned i = ci + 1 + unsigned(k), j = ci + 1 + unsigned((k + 1) % n);
            if (end)
                AddFace(p, ci, i, j);
            else
                AddFace(p, ci, j, i);
        }
    }
}

void TMesh::Lathe(const std::vector<TVec2>& profile, int segments) {
    if (profile.size() < 2) return;
    TPart& p = CurrentPart();
    const unsigned first = unsigned(p.vertices.size());
    const unsigned row = unsigned(segments + 1);
    for (size_t k = 0; k < profile.size(); ++k) {
        const TVec2 prev = profile[k ? k - 1 : k],
                    next = profile[std::min(k + 1, profile.size() - 1)];
        // The profile's outward normal in (r, y): the tangent turned clockwise.
        const float dr = next.x - prev.x, dy = next.y - prev.y;
        for (int s = 0; s <= segments; ++s) {
            const float t = 2 * kPi * float(s) / float(segments);
            const float c = std::cos(t), sn = std::sin(t);
            const TVec3 n = Normalized({dy * c, -dr, -dy * sn});
            AddVertex(p, {profile[k].x * c, profile[k].y, -profile[k].x * sn}, n,
                      {float(s) / float(segments), float(k) / float(profile.size() - 1)});
        }
    }
    for (size_t k = 0; k + 1 < profile.size(); ++k) {
        for (int s = 0; s < segments; ++s) {
            const unsigned i = first + unsigned(k) * row + unsigned(s);
            AddFace(p, i, i + 1, i + row + 1);
            AddFace(p, i, i + row + 1, i + row);
        }
    }
}

void TMesh::Marker(const std::string& name, TVec3 at) {
    const std::string saved = part_;
    part_ = name;
    constexpr float e = 0.002f;
    Triangle(at + TVec3{-e, 0, -e}, at + TVec3{0, 0, e * 2}, at + TVec3{e, 0, -e});
    part_ = saved;
}

void TMesh::Merge(const TMesh& other) {
    const int savedMaterial = material_;
    const std::string savedPart = part_;
    for (const TPart& src : other.parts_) {
        Material(other.materials_[size_t(src.material)]);
        part_ = src.name;
        TPart& p = CurrentPart();
        const unsigned base = unsigned(p.vertices.size());
        for (const TVertex& v : src.vertices) AddVertex(p, v.position, v.normal, v.uv);
        for (const auto& f : src.faces) AddFace(p, base + f[0], base + f[1], base + f[2]);
    }
    material_ = savedMaterial;
    part_ = savedPart;
}

size_t TMesh::TriangleCount() const {
    size_t n = 0;
    for (const TPart& p : parts_) n += p.faces.size();
    return n;
}

void TMesh::Bounds(TVec3* low, TVec3* high) const {
    TVec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    for (const TPart& p : parts_) {
        for (const TVertex& v : p.vertices) {
            lo = {std::min(lo.x, v.position.x), std::min(lo.y, v.position.y),
                  std::min(lo.z, v.position.z)};
            hi = {std::max(hi.x, v.position.x), std::max(hi.y, v.position.y),
                  std::max(hi.z, v.position.z)};
        }
    }
    *low = lo;
    *high = hi;
}

namespace {

aiMaterial* MakeMaterial(const TMaterial& m) {
    auto* out = new aiMaterial();
    aiString name(m.name);
    out->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor3D diffuse(m.diffuse.r, m.diffuse.g, m.diffuse.b);
    out->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
    const aiColor3D ambient(m.diffuse.r * 0.4f, m.diffuse.g * 0.4f, m.diffuse.b * 0.4f);
    out->AddProperty(&ambient, 1, AI_MATKEY_COLOR_AMBIENT);
    const aiColor3D specular(0.1f, 0.1f, 0.1f);
    out->AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
    float opacity = m.opacity;
    out->AddProperty(&opacity, 1, AI_MATKEY_OPACITY);
    int shading = aiShadingMode_Gouraud;
    out->AddProperty(&shading, 1, AI_MATKEY_SHADING_MODEL);
    if (!m.texture.empty()) {
        aiString file(m.texture);
        out->AddProperty(&file, AI_MATKEY_TEXTURE_DIFFUSE(0));
    }
    return out;
}

aiMesh* MakeMesh(const TPart& p) {
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = unsigned(p.material);
    mesh->mNumVertices = unsigned(p.vertices.size());
    mesh->mVertices = new aiVector3D[p.vertices.size()];
    mesh->mNormals = new aiVector3D[p.vertices.size()];
    mesh->mTextureCoords[0] = new aiVector3D[p.vertices.size()];
    mesh->mNumUVComponents[0] = 2;
    for (size_t k = 0; k < p.vertices.size(); ++k) {
        const TVertex& v = p.vertices[k];
        mesh->mVertices[k] = aiVector3D(v.position.x, v.position.y, v.position.z);
        mesh->mNormals[k] = aiVector3D(v.normal.x, v.normal.y, v.normal.z);
        mesh->mTextureCoords[0][k] = aiVector3D(v.uv.x, v.uv.y, 0);
    }
    mesh->mNumFaces = unsigned(p.faces.size());
    mesh->mFaces = new aiFace[p.faces.size()];
    for (size_t k = 0; k < p.faces.size(); ++k) {
        mesh->mFaces[k].mNumIndices = 3;
        mesh->mFaces[k].mIndices = new unsigned[3]{p.faces[k][0], p.faces[k][1], p.faces[k][2]};
    }
    return mesh;
}

// One node per part name (in order of first appearance) under the root, holding the meshes
// of that part (one per material).
std::unique_ptr<aiScene> MakeScene(const std::vector<TMaterial>& materials,
                                   const std::vector<TPart>& parts) {
    auto scene = std::make_unique<aiScene>();
    scene->mNumMaterials = unsigned(materials.size());
    scene->mMaterials = new aiMaterial*[materials.size()];
    for (size_t k = 0; k < materials.size(); ++k) scene->mMaterials[k] = MakeMaterial(materials[k]);
    std::vector<std::string> names;
    for (const TPart& p : parts) {
        if (std::find(names.begin(), names.end(), p.name) == names.end()) names.push_back(p.name);
    }
    scene->mNumMeshes = unsigned(parts.size());
    scene->mMeshes = new aiMesh*[parts.size()];
    scene->mRootNode = new aiNode("root");
    scene->mRootNode->mNumChildren = unsigned(names.size());
    scene->mRootNode->mChildren = new aiNode*[names.size()];
    unsigned meshIndex = 0;
    for (size_t n = 0; n < names.size(); ++n) {
        auto* node = new aiNode();
        node->mName = aiString(names[n]);
        node->mParent = scene->mRootNode;
        std::vector<unsigned> own;
        for (const TPart& p : parts) {
            if (p.name != names[n]) continue;
            scene->mMeshes[meshIndex] = MakeMesh(p);
            scene->mMeshes[meshIndex]->mName = aiString(names[n]);
            own.push_back(meshIndex++);
        }
        node->mNumMeshes = unsigned(own.size());
        node->mMeshes = new unsigned[own.size()];
        std::copy(own.begin(), own.end(), node->mMeshes);
        scene->mRootNode->mChildren[n] = node;
    }
    return scene;
}

bool IsObj(const std::string& fileName) {
    const std::string ext = fs::path(fileName).extension().string();
    return ext == ".obj" || ext == ".OBJ";
}

// The 3DS exporter writes the object blocks in the order of their nodes' addresses in its own
// copy of the scene, which depends on the state of the heap. Each block's name ends in
// "_<mesh index>": the blocks are put back in mesh order so that a model always encodes to
// the same bytes. Anything unexpected leaves the bytes as they are.
void SortObjectBlocks(std::string& bytes) {
    auto u16 = [&](size_t at) {
        return unsigned(uint8_t(bytes[at])) | unsigned(uint8_t(bytes[at + 1])) << 8;
    };
    auto u32 = [&](size_t at) { return size_t(u16(at)) | size_t(u16(at + 2)) << 16; };
    constexpr unsigned kMain = 0x4D4D, kEditor = 0x3D3D, kObject = 0x4000;
    if (bytes.size() < 12 || u16(0) != kMain || u32(2) != bytes.size()) return;
    // The editor chunk among the main chunk's children.
    size_t at = 6, editorEnd = 0;
    while (at + 6 <= bytes.size()) {
        const size_t length = u32(at + 2);
        if (length < 6 || at + length > bytes.size()) return;
        if (u16(at) == kEditor) {
            editorEnd = at + length;
            at += 6;
            break;
        }
        at += length;
    }
    if (editorEnd == 0) return;
    struct TBlock {
        size_t start, length;
        long index;
    };
    std::vector<TBlock> blocks;
    for (size_t c = at; c + 6 <= editorEnd;) {
        const size_t length = u32(c + 2);
        if (length < 6 || c + length > editorEnd) return;
        if (u16(c) == kObject) {
            const size_t nameEnd = bytes.find('\0', c + 6);
            if (nameEnd == std::string::npos || nameEnd >= c + length) return;
            const std::string name = bytes.substr(c + 6, nameEnd - c - 6);
            const size_t underscore = name.rfind('_');
            if (underscore == std::string::npos) return;
            blocks.push_back({c, length, std::strtol(name.c_str() + underscore + 1, nullptr, 10)});
        }
        c += length;
    }
    // The exporter writes the object blocks one after another: they are rewritten as one run
    // in mesh order, which keeps every length and every other chunk where it was.
    if (blocks.size() < 2) return;
    for (size_t k = 1; k < blocks.size(); ++k) {
        if (blocks[k].start != blocks[k - 1].start + blocks[k - 1].length) return;
    }
    std::vector<TBlock> sorted = blocks;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TBlock& a, const TBlock& b) { return a.index < b.index; });
    std::string out = bytes;
    size_t write = blocks.front().start;
    for (const TBlock& b : sorted) {
        out.replace(write, b.length, bytes, b.start, b.length);
        write += b.length;
    }
    bytes = std::move(out);
}

}  // namespace

bool TMesh::Encode(const std::string& fileName, std::vector<std::string>* files,
                   std::string* error) const {
    files->clear();
    if (parts_.empty()) {
        if (error) *error = "empty model " + fileName;
        return false;
    }
    const std::unique_ptr<aiScene> scene = MakeScene(materials_, parts_);
    const bool obj = IsObj(fileName);
    Assimp::Exporter exporter;
    Assimp::ExportProperties properties;
    // The .obj names its material library after the file.
    properties.SetPropertyString(AI_CONFIG_EXPORT_BLOB_NAME, fs::path(fileName).stem().string());
    const aiExportDataBlob* blob =
        exporter.ExportToBlob(scene.get(), obj ? "obj" : "3ds", 0, &properties);
    if (!blob) {
        if (error) *error = "cannot encode " + fileName + ": " + exporter.GetErrorString();
        return false;
    }
    for (; blob; blob = blob->next) {
        files->emplace_back(static_cast<const char*>(blob->data), blob->size);
    }
    if (!obj) SortObjectBlocks(files->front());
    return true;
}

bool TMesh::Write(const fs::path& path, std::string* error) const {
    std::vector<std::string> files;
    if (!Encode(path.filename().string(), &files, error)) return false;
    if (!WriteFileAtomically(path, files[0], error)) return false;
    if (IsObj(path.filename().string()) && files.size() > 1) {
        fs::path mtl = path;
        mtl.replace_extension(".mtl");
        if (!WriteFileAtomically(mtl, files[1], error)) return false;
    }
    return true;
}

}  // namespace vallorn::datagen::mesh
