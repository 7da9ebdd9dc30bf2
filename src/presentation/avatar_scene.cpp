// The player's own skier in the scene while free ride or a race shows it: a skier figure in a
// red jacket, standing while it walks, skiing from walking speed on, crouched when tucked.
#include "presentation/scene_impl.h"

namespace vallorn {

void TSKISceneRenderer::TImpl::CollectAvatar(const TSKIToolState& tools) {
    const TSKIAvatar& a = tools.Avatar;
    if (!a.Visible) return;
    const TSkierPose pose =
        a.Model == TSKIAvatarModel::Walking ? TSkierPose::Standing : TSkierPose::Skiing;
    const glm::vec3 feet = Vec3(a.Position) - glm::vec3(0, kAvatarGroundOffset, 0);
    const glm::vec3 scale(1.0f, a.Model == TSKIAvatarModel::Tucked ? 0.75f : 1.0f, 1.0f);
    const TSKIVector forward = AvatarForward(a.Heading);
    const float yaw = YawOf(forward.x, forward.z);
    Skiers[size_t(int(TSkierKind::Skier) * kSkierPoses + int(pose))].Add(feet, yaw, scale,
                                                                         {215, 30, 35, 255});
}

}  // namespace vallorn
