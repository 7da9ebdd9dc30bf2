#include "md2_writer.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstring>

namespace vallorn::datagen::figures {
namespace {

constexpr int kNormals = 162;
constexpr int kHeaderSize = 68, kSkinNameSize = 64, kFrameNameSize = 16;

void PutInt(std::string& out, int32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(char((uint32_t(v) >> (8 * k)) & 0xFF));
}
void PutShort(std::string& out, int v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void PutFloat(std::string& out, float f) {
    int32_t bits;
    std::memcpy(&bits, &f, 4);
    PutInt(out, bits);
}
void PutName(std::string& out, const std::string& name, size_t size) {
    std::string field = name.substr(0, size - 1);
    field.resize(size, '\0');
    out += field;
}

std::string Encode(const TMd2Model& model, const std::vector<mesh::TVec3>& directions) {
    const int vertices = int(model.uvs.size()), triangles = int(model.triangles.size());
    const int frames = int(model.frames.size());
    const int frameSize = 40 + 4 * vertices;
    const int ofsSkins = kHeaderSize, ofsSt = ofsSkins + kSkinNameSize;
    const int ofsTris = ofsSt + 4 * vertices, ofsFrames = ofsTris + 12 * triangles;
    const int ofsGl = ofsFrames + frameSize * frames, ofsEnd = ofsGl + 4;
    std::string out;
    out += "IDP2";
    for (int v : {8, model.skinWidth, model.skinHeight, frameSize, 1, vertices, vertices, triangles,
                  1, frames, ofsSkins, ofsSt, ofsTris, ofsFrames, ofsGl, ofsEnd})
        PutInt(out, v);
    PutName(out, model.skin, kSkinNameSize);
    for (const mesh::TVec2& uv : model.uvs) {
        PutShort(out, int(std::lround(uv.x * model.skinWidth)));
        PutShort(out, int(std::lround((1 - uv.y) * model.skinHeight)));
    }
    // The format's triangles turn the other way round (clockwise seen from outside).
    for (const auto& t : model.triangles) {
        for (int k : {0, 2, 1}) PutShort(out, int(t[size_t(k)]));
        for (int k : {0, 2, 1}) PutShort(out, int(t[size_t(k)]));
    }
    for (const TMd2Frame& frame : model.frames) {
        mesh::TVec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
        for (const mesh::TVec3& p : frame.positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        const mesh::TVec3 scale{std::max(hi.x - lo.x, 1e-4f) / 255,
                                std::max(hi.y - lo.y, 1e-4f) / 255,
                                std::max(hi.z - lo.z, 1e-4f) / 255};
        for (float f : {scale.x, scale.y, scale.z, lo.x, lo.y, lo.z}) PutFloat(out, f);
        PutName(out, frame.name, kFrameNameSize);
        for (size_t k = 0; k < frame.positions.size(); ++k) {
            const mesh::TVec3 p = frame.positions[k];
            out.push_back(char(std::lround((p.x - lo.x) / scale.x)));
            out.push_back(char(std::lround((p.y - lo.y) / scale.y)));
            out.push_back(char(std::lround((p.z - lo.z) / scale.z)));
            int best = 0;
            float bestDot = -2;
            for (size_t d = 0; d < directions.size(); ++d) {
                const float dot = mesh::Dot(directions[d], frame.normals[k]);
                if (dot > bestDot) bestDot = dot, best = int(d);
            }
            out.push_back(char(best));
        }
    }
    PutInt(out, 0);  // an empty list of drawing commands
    return out;
}

}  // namespace

std::string EncodeMd2(const TMd2Model& model) {
    return Encode(model, Md2NormalDirections());
}

const std::vector<mesh::TVec3>& Md2NormalDirections() {
    static const std::vector<mesh::TVec3> directions = [] {
        // One triangle per three numbers; vertex k sits at x = k so it can be found again.
        TMd2Model probe;
        probe.skin = "probe";
        probe.skinWidth = probe.skinHeight = 8;
        TMd2Frame frame{"probe", {}, {}};
        for (int k = 0; k < kNormals; ++k) {
            probe.uvs.push_back({0, 0});
            frame.positions.push_back({float(k), float(k % 3 == 1), float(k % 3 == 2)});
        }
        for (unsigned k = 0; k + 2 < kNormals; k += 3) probe.triangles.push_back({k, k + 1, k + 2});
        probe.frames.push_back(frame);
        // Encode with the normal numbers themselves: no directions are known yet.
        std::string bytes = Encode(probe, {});
        const size_t vertexBytes =
            kHeaderSize + kSkinNameSize + 4 * kNormals + 12 * probe.triangles.size() + 40;
        for (int k = 0; k < kNormals; ++k) bytes[vertexBytes + 4 * size_t(k) + 3] = char(k);
        std::vector<mesh::TVec3> found(kNormals, mesh::TVec3{0, 0, 1});
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "md2");
        if (!scene || scene->mNumMeshes == 0 || !scene->mMeshes[0]->HasNormals()) return found;
        const aiMesh* m = scene->mMeshes[0];
        for (unsigned v = 0; v < m->mNumVertices; ++v) {
            const int k = int(std::lround(m->mVertices[v].x));
            if (k >= 0 && k < kNormals)
                found[size_t(k)] = {m->mNormals[v].x, m->mNormals[v].y, m->mNormals[v].z};
        }
        return found;
    }();
    return directions;
}

TMd2Model Md2FromMeshes(const std::vector<mesh::TMesh>& frames, const std::string& framePrefix,
                        const std::string& skin, int skinWidth, int skinHeight) {
    TMd2Model model;
    model.skin = skin;
    model.skinWidth = skinWidth;
    model.skinHeight = skinHeight;
    // y-up (facing +x) to z-up (facing +x): (x, y, z) -> (x, -z, y).
    auto zUp = [](mesh::TVec3 v) { return mesh::TVec3{v.x, -v.z, v.y}; };
    for (size_t f = 0; f < frames.size(); ++f) {
        TMd2Frame frame;
        frame.name = framePrefix + (f < 10 ? "0" : "") + std::to_string(f);
        for (const mesh::TPart& part : frames[f].Parts()) {
            const unsigned base = unsigned(frame.positions.size());
            for (const mesh::TVertex& v : part.vertices) {
                frame.positions.push_back(zUp(v.position));
                frame.normals.push_back(zUp(v.normal));
                if (f == 0) model.uvs.push_back(v.uv);
            }
            if (f == 0)
                for (const auto& t : part.faces)
                    model.triangles.push_back({base + t[0], base + t[1], base + t[2]});
        }
        model.frames.push_back(std::move(frame));
    }
    return model;
}

}  // namespace vallorn::datagen::figures
