// Models whose key frames play with linear interpolation (the free-ride avatar's MD2 files).
// Every key frame is read once through the model reader; the vertices between two key frames
// are blended on the CPU, and the model's vertex buffers are refilled when the pose changes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "presentation/model_import.h"
#include "presentation/model_library.h"

namespace vallorn {

// At most this many key frames are read from one file.
constexpr int kMaxAnimationFrames = 256;

struct TModelAnimation {
    TModelData Base;  // key frame 0: parts, indices, materials, texture coordinates
    int Frames = 0;
    size_t VerticesPerFrame = 0;  // of all parts, in part order
    // Position and normal of every vertex, key frame after key frame.
    std::vector<glm::vec3> Positions, Normals;
    bool Empty() const { return Frames == 0; }
};

// Reads every key frame of `file` (options.Frame is ignored). False with a reason when a frame
// cannot be read or its parts differ from the first frame's; `out` is then empty.
bool ImportAnimation(const std::filesystem::path& file, const TModelImport& options,
                     TModelAnimation& out, std::string* error = nullptr);

// Sets the positions and normals of `pose` (a copy of the animation's base) to the blend of
// two key frames; frame numbers out of range are wrapped.
void BlendFrames(const TModelAnimation& animation, const TFrameBlend& blend, TModelData& pose);

// Frames played after `seconds` at one frame per `intervalMs` milliseconds (none for a
// non-positive interval or time).
double FramesPlayed(double seconds, int intervalMs);

// The key frame to show of a loop of `frames` key frames that plays one of `parts` equal parts
// per cycle of a clock, the clock now `phase` (0..1) into its cycle and `shown` the frame shown
// before: the loop moves on to its next part when the clock has begun a new cycle since, so
// that every part starts with a cycle of the clock. From frame 0 the loop starts with its first
// part.
double FrameOnCycle(double shown, double phase, int frames, int parts);

// An animation uploaded once, posed each frame it is drawn.
class TAnimatedModel {
public:
    TAnimatedModel(TModelAnimation animation, const std::vector<const gl::TTexture*>& textures);
    int Frames() const { return animation_.Frames; }
    // Streams the blend of two key frames into the vertex buffers (nothing when unchanged).
    void Pose(const TFrameBlend& blend);
    TLoadedModel& Model() { return model_; }

private:
    TModelAnimation animation_;
    TModelData pose_;
    TLoadedModel model_;
    TFrameBlend shown_{-1, -1, 0.0f};
};

}  // namespace vallorn
