#include "presentation/model_animation.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace vallorn {

bool ImportAnimation(const std::filesystem::path& file, const TModelImport& options,
                     TModelAnimation& out, std::string* error) {
    out = {};
    TModelImport frameOptions = options;
    frameOptions.Frame = 0;
    TModelData base;
    if (!ImportModel(file, frameOptions, base, error)) return false;
    const int frames = std::clamp(base.Frames, 1, kMaxAnimationFrames);
    size_t vertices = 0;
    for (const TModelPart& part : base.Parts) vertices += part.Vertices.size();
    TModelAnimation a;
    a.Frames = frames;
    a.VerticesPerFrame = vertices;
    a.Positions.reserve(vertices * size_t(frames));
    a.Normals.reserve(vertices * size_t(frames));
    for (int f = 0; f < frames; ++f) {
        TModelData frame;
        if (f == 0) {
            frame = base;
        } else {
            frameOptions.Frame = f;
            if (!ImportModel(file, frameOptions, frame, error)) return false;
        }
        // Every key frame must be the same mesh, part for part and vertex for vertex.
        bool same = frame.Parts.size() == base.Parts.size();
        for (size_t p = 0; same && p < frame.Parts.size(); ++p)
            same = frame.Parts[p].Vertices.size() == base.Parts[p].Vertices.size() &&
                   frame.Parts[p].Material == base.Parts[p].Material;
        if (!same) {
            if (error)
                *error = "cannot read model " + file.filename().string() + ": key frame " +
                         std::to_string(f) + " differs in shape from the first";
            return false;
        }
        for (const TModelPart& part : frame.Parts)
            for (const gl::TVertex& v : part.Vertices) {
                a.Positions.emplace_back(v.X, v.Y, v.Z);
                a.Normals.emplace_back(v.NX, v.NY, v.NZ);
            }
        base.Min = glm::min(base.Min, frame.Min);
        base.Max = glm::max(base.Max, frame.Max);
    }
    a.Base = std::move(base);
    out = std::move(a);
    return true;
}

void BlendFrames(const TModelAnimation& animation, const TFrameBlend& blend, TModelData& pose) {
    if (animation.Empty()) return;
    const int frames = animation.Frames;
    const size_t n = animation.VerticesPerFrame;
    const size_t from = size_t(FlipBookFrame(blend.From, frames)) * n;
    const size_t to = size_t(FlipBookFrame(blend.To, frames)) * n;
    const float t = std::clamp(blend.T, 0.0f, 1.0f);
    size_t k = 0;
    for (TModelPart& part : pose.Parts) {
        for (gl::TVertex& v : part.Vertices) {
            if (k >= n) return;  // not a copy of this animation's base
            const glm::vec3 p =
                glm::mix(animation.Positions[from + k], animation.Positions[to + k], t);
            glm::vec3 normal = glm::mix(animation.Normals[from + k], animation.Normals[to + k], t);
            const float length = glm::length(normal);
            normal = length > 1e-6f ? normal / length : animation.Normals[from + k];
            v.X = p.x;
            v.Y = p.y;
            v.Z = p.z;
            v.NX = normal.x;
            v.NY = normal.y;
            v.NZ = normal.z;
            ++k;
        }
    }
}

double FramesPlayed(double seconds, int intervalMs) {
    if (intervalMs <= 0 || !(seconds > 0)) return 0.0;
    return seconds * 1000.0 / double(intervalMs);
}

double FrameOnCycle(double shown, double phase, int frames, int parts) {
    if (frames <= 0 || parts <= 0) return 0.0;
    const double length = double(frames) / double(parts);  // key frames of one part
    const double wrapped = std::isfinite(shown) ? std::fmod(std::max(shown, 0.0), frames) : 0.0;
    int part = std::min(int(wrapped / length), parts - 1);
    const double before = wrapped / length - part;  // how far the clock stood in its cycle
    phase = std::isfinite(phase) ? std::clamp(phase, 0.0, 1.0) : 0.0;
    if (phase < before - 1e-6) part = (part + 1) % parts;  // a new cycle began
    return std::min((part + phase) * length, std::nextafter(double(frames), 0.0));
}

TAnimatedModel::TAnimatedModel(TModelAnimation animation,
                               const std::vector<const gl::TTexture*>& textures)
    : animation_(std::move(animation)), pose_(animation_.Base) {
    model_.Upload(pose_, textures, true);
}

void TAnimatedModel::Pose(const TFrameBlend& blend) {
    if (blend.From == shown_.From && blend.To == shown_.To && blend.T == shown_.T) return;
    shown_ = blend;
    BlendFrames(animation_, blend, pose_);
    for (size_t p = 0; p < pose_.Parts.size(); ++p) model_.UpdatePart(p, pose_.Parts[p].Vertices);
}

}  // namespace vallorn
