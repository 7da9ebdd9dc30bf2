// The player's own skier in the scene while free ride or a race shows it: one of three models
// of the data folder at a time, as the ride chose it by speed. "AvatarWalk.md2" walks on skis
// (frozen while no forward key is held: the ride then gives it a standing interval),
// "AvatarSki.md2" skis a turn to either side in time with the ride's model clock (a turn per
// cycle, so the loop is whole whenever the ride may change the model), both looping with
// linear frame interpolation, and "AvatarEgg.3ds" is the tucked racing shape. All three wear
// "avatar.jpg". Without the files a stand-in skier figure in a red jacket takes their place.
#include <algorithm>
#include <cmath>

#include "presentation/model_animation.h"
#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

// The skiing loop is two turns, one to either side.
constexpr int kSkiTurnsPerLoop = 2;

// Longer gaps between two frames (a stall, the first frame) play no more than this.
constexpr double kLongestStep = 0.25;

// The avatar's shadow on the snow, a little longer than it is wide, along its skis.
const glm::vec3 kShadowScale(0.9f, 1.0f, 1.8f);

}  // namespace

void TSKISceneRenderer::TImpl::CollectAvatar(const TSKIToolState& tools, double seconds) {
    Avatar.Instances.clear();
    TAvatarModels& m = AvatarModels;
    const double step =
        m.LastSeconds < 0 ? 0.0 : std::clamp(seconds - m.LastSeconds, 0.0, kLongestStep);
    m.LastSeconds = seconds;
    const TSKIAvatar& a = tools.Avatar;
    if (!a.Visible) return;
    if (!m.Tried) {
        m.Tried = true;
        // Modelled facing +x like the skier figures: a quarter turn brings them to +z.
        TModelShape shape;
        shape.Import.TurnDegrees = -90.0f;
        m.Walk = Library.Animation("AvatarWalk", "AvatarWalk.md2", shape);
        m.Ski = Library.Animation("AvatarSki", "AvatarSki.md2", shape);
        m.Egg = Library.Model("AvatarEgg", "AvatarEgg.3ds", {}, shape);
        m.Skin = Library.Exists("avatar.jpg") ? Library.Texture("avatar.jpg", false, true, true)
                                              : nullptr;
    }
    const glm::vec3 feet = Vec3(a.Position) - glm::vec3(0, kAvatarGroundOffset, 0);
    const TSKIVector forward = AvatarForward(a.Heading);
    const float yaw = YawOf(forward.x, forward.z);

    // A model that comes back starts its cycle afresh, so that skiing begins at the frame the
    // ride's model choice was made on.
    if (a.Model != m.Shown) {
        if (a.Model == TSKIAvatarModel::Skiing) m.SkiFrame = 0;
        if (a.Model == TSKIAvatarModel::Walking) m.WalkFrame = 0;
        m.Shown = a.Model;
    }
    TLoadedModel* model = nullptr;
    switch (a.Model) {
        case TSKIAvatarModel::Walking:
        case TSKIAvatarModel::Skiing: {
            const bool walking = a.Model == TSKIAvatarModel::Walking;
            TAnimatedModel* animation = walking ? m.Walk : m.Ski;
            if (!animation) break;
            double& frame = walking ? m.WalkFrame : m.SkiFrame;
            if (walking) {
                frame = std::fmod(frame + FramesPlayed(step, a.FrameInterval), animation->Frames());
            } else {
                // Skiing keeps time with the ride's model clock: each of its cycles is one turn,
                // half the loop, from upright over one edge and back, so that the ride changes
                // the model (at the start of a cycle) only where the skier stands upright.
                frame = FrameOnCycle(frame, a.CycleClock / kSkiCycleSeconds, animation->Frames(),
                                     kSkiTurnsPerLoop);
            }
            animation->Pose(InterpolatedFrame(frame, animation->Frames()));
            model = &animation->Model();
            break;
        }
        case TSKIAvatarModel::Tucked:
            model = m.Egg;
            break;
    }
    Shadows.Add(feet + glm::vec3(0, 0.05f, 0), yaw, kShadowScale);
    if (model) {
        Avatar.Model = model;
        Avatar.Texture = m.Skin;
        Avatar.Add(feet, yaw);
        return;
    }
    const TSkierPose pose =
        a.Model == TSKIAvatarModel::Walking ? TSkierPose::Standing : TSkierPose::Skiing;
    const glm::vec3 scale(1.0f, a.Model == TSKIAvatarModel::Tucked ? 0.75f : 1.0f, 1.0f);
    Skiers[size_t(int(TSkierKind::Skier) * kSkierPoses + int(pose))].Add(feet, yaw, scale,
                                                                         {215, 30, 35, 255});
}

}  // namespace vallorn
