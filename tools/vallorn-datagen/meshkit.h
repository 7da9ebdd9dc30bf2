// The mesh kit: builds a model from primitives and writes it as .obj (+ .mtl) or .3DS through
// assimp's exporter, the way the game reads every model.
//
// Conventions: y is up, one unit is one world unit (the units the game's parameters convert
// to), triangles wind counter-clockwise seen from outside. Every primitive is emitted under
// the current transform (Push / Pop / Translate / RotateY ...), with the current material.
// A model is a set of named parts; each (part, material) pair becomes one assimp mesh under a
// node named after the part, so a named marker (a seat, a door) can be found again in the
// loaded file. Output is deterministic: the same calls give the same bytes.
//
// Both formats store the vertices y-up as built. Assimp's 3DS reader adds a z-up to y-up
// rotation on its root node and renames meshes and materials (part + "_" + index); readers use
// the mesh vertices as stored and ignore node transforms, as with the level meshes. The .obj
// keeps normals; the 3DS reader recomputes them.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace vallorn::datagen::mesh {

struct TVec3 {
    float x = 0, y = 0, z = 0;
};
TVec3 operator+(TVec3 a, TVec3 b);
TVec3 operator-(TVec3 a, TVec3 b);
TVec3 operator*(TVec3 a, float s);
float Dot(TVec3 a, TVec3 b);
TVec3 Cross(TVec3 a, TVec3 b);
TVec3 Normalized(TVec3 a);

struct TVec2 {
    float x = 0, y = 0;
};

struct TColor {
    float r = 1, g = 1, b = 1;
};

struct TMaterial {
    std::string name;
    TColor diffuse;
    std::string texture;  // file name in the data folder, empty for none
    float opacity = 1;    // 1 opaque, below 1 transparent
};

// An affine transform, row-major 3 x 4: p' = M * (p, 1).
struct TXform {
    std::array<float, 12> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    static TXform Translation(TVec3 t);
    static TXform Scaling(TVec3 s);
    static TXform RotationX(float radians);
    static TXform RotationY(float radians);
    static TXform RotationZ(float radians);
    TXform operator*(const TXform& o) const;  // apply o first, then this
    float Determinant() const;  // of the linear part; negative for a mirroring transform
    TVec3 Point(TVec3 p) const;
    TVec3 Direction(TVec3 d) const;  // normal transform (inverse transpose), normalised
};

struct TVertex {
    TVec3 position, normal;
    TVec2 uv;
};

struct TPart {
    std::string name;
    int material = 0;
    std::vector<TVertex> vertices;
    std::vector<std::array<unsigned, 3>> faces;
};

class TMesh {
public:
    // Declares a material (or returns the one of that name) and makes it current.
    int Material(const TMaterial& material);
    void UseMaterial(int index) { material_ = index; }
    // Primitives go to the part of this name from now on ("body" at the start).
    void Part(const std::string& name) { part_ = name; }

    void Push();
    void Pop();
    void Translate(TVec3 t);
    void RotateX(float radians);
    void RotateY(float radians);
    void RotateZ(float radians);
    void Scale(TVec3 s);
    void Apply(const TXform& x);
    const TXform& Current() const { return stack_.back(); }

    // An axis-aligned box (in the current frame) of this centre and size, flat-shaded.
    void Box(TVec3 centre, TVec3 size);
    // A flat-shaded box between two y levels whose x/z corners are given bottom and top
    // (a tapered block such as a roof or a pylon foot): corners in order -x-z, +x-z, +x+z, -x+z.
    void Block(const std::array<TVec2, 4>& bottom, float y0, const std::array<TVec2, 4>& top,
               float y1);
    // A cylinder or cone from `a` to `b` with radii ra and rb, smooth sides, flat caps.
    void Cylinder(TVec3 a, TVec3 b, float ra, float rb, int segments, bool caps = true);
    // A UV sphere.
    void Sphere(TVec3 centre, float radius, int rings, int segments);
    // A quad a-b-c-d (counter-clockwise seen from the front), one-sided.
    void Quad(TVec3 a, TVec3 b, TVec3 c, TVec3 d);
    void Triangle(TVec3 a, TVec3 b, TVec3 c);
    // A flat triangle with given texture coordinates.
    void TexturedTriangle(const TVec3 p[3], const TVec2 uv[3]);
    // A closed outline in the x/y plane (counter-clockwise, convex or star-shaped around its
    // first vertex's centroid) extruded along z from z0 to z1, flat-shaded, capped.
    void Extrude(const std::vector<TVec2>& outline, float z0, float z1);
    // A profile of (radius, y) points turned around the y axis; smooth around.
    void Lathe(const std::vector<TVec2>& profile, int segments);
    // A tiny triangle in its own part named `name`, centred on `at`: a marker the game's
    // loader and the tests find by name (seats, doors). Too small to be seen.
    void Marker(const std::string& name, TVec3 at);
    // Appends another mesh under the current transform; its materials are merged by name.
    void Merge(const TMesh& other);

    const std::vector<TMaterial>& Materials() const { return materials_; }
    const std::vector<TPart>& Parts() const { return parts_; }
    // The parts for editing in place after they are built (texture coordinates moved into a
    // skin's swatches, faces turned, parts renamed); the materials stay as declared.
    std::vector<TPart>& EditParts() { return parts_; }
    size_t TriangleCount() const;
    // The smallest and largest coordinates of all vertices (markers included).
    void Bounds(TVec3* low, TVec3* high) const;

    // Writes `path` (.obj with its .mtl beside it, or .3DS by the extension), each file to a
    // temporary first and renamed into place.
    bool Write(const std::filesystem::path& path, std::string* error) const;
    // The bytes the writer makes for the named file (the .obj and, second, the .mtl; one
    // entry for .3DS); for the determinism check and the writer.
    bool Encode(const std::string& fileName, std::vector<std::string>* files,
                std::string* error) const;

private:
    TPart& CurrentPart();
    void AddFace(TPart& p, unsigned a, unsigned b, unsigned c);
    unsigned AddVertex(TPart& p, TVec3 position, TVec3 normal, TVec2 uv);
    void FlatQuad(TPart& p, TVec3 a, TVec3 b, TVec3 c, TVec3 d);

    std::vector<TMaterial> materials_;
    std::vector<TPart> parts_;
    std::vector<TXform> stack_ = std::vector<TXform>(1);
    std::string part_ = "body";
    int material_ = 0;
};

}  // namespace vallorn::datagen::mesh
