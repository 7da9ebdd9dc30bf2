#include "figure_poses.h"

#include <algorithm>
#include <cmath>

namespace vallorn::datagen::figures {
namespace {

constexpr float kTurn = 6.2831853f;
constexpr float kSideways = 1.5707963f;  // a boarder's body stands across its board

void SetLegs(TPose& p, float hipPitch, float knee, float hipRoll, float footYaw = 0) {
    for (TLegPose& leg : p.legs) leg = {hipPitch, hipRoll, knee, footYaw};
}
void SetArms(TPose& p, float pitch, float roll, float elbow) {
    for (TArmPose& arm : p.arms) arm = {pitch, roll, elbow};
}

TPose Stand(bool board, float s, float c) {
    TPose p;
    if (board) {
        p.bodyYaw = kSideways;
        SetLegs(p, 0.12f, 0.26f, 0.22f);
        SetArms(p, 0.1f, 0.22f + 0.04f * s, 0.35f);
        p.headYaw = -0.9f + 0.35f * s;
    } else {
        SetLegs(p, 0.08f, 0.16f, 0.03f);
        SetArms(p, 0.25f, 0.28f, 0.55f);
        p.poleOut = 0.3f;
        p.poleBack = -0.05f;
        p.headYaw = 0.55f * s;
    }
    p.torsoPitch = 0.08f + 0.02f * c;
    p.headPitch = 0.05f * c;
    return p;
}

TPose Sit(bool board, float s, float c) {
    TPose p;
    p.grounded = false;
    p.seatHeight = 0.1f;
    p.poles = false;
    SetLegs(p, 1.45f, 1.35f, 0.05f);
    p.legs[0].knee += 0.22f * s;
    p.legs[1].knee += 0.22f * std::sin(std::asin(std::clamp(s, -1.0f, 1.0f)) + 1.4f);
    SetArms(p, 0.65f, 0.12f, 0.75f);
    p.torsoPitch = -0.08f;
    p.headYaw = 0.35f * s;
    p.headPitch = 0.08f * c;
    if (board) {
        p.skis = false;
        p.boardFoot = 1;
    }
    return p;
}

TPose Ski(bool board, float s, float c) {
    TPose p;
    if (board) {
        p.bodyYaw = kSideways;
        p.bodyRoll = 0.16f * s;
        SetLegs(p, 0.5f, 1.0f, 0.22f);
        SetArms(p, 0.2f, 0.85f + 0.2f * s, 0.35f);
        p.torsoPitch = 0.25f + 0.15f * s;
        p.headYaw = -1.05f;
        p.headPitch = -0.15f;
    } else {
        p.bodyRoll = 0.22f * s;
        p.shift = -0.08f * s;
        SetLegs(p, 0.45f, 0.95f, 0.04f);
        p.legs[0].knee += 0.15f * s;
        p.legs[1].knee -= 0.15f * s;
        SetArms(p, 0.55f, 0.28f, 0.9f);
        p.arms[0].pitch += 0.15f * c;
        p.arms[1].pitch -= 0.15f * c;
        p.poleBack = 0.9f;
        p.poleOut = 0.25f;
        p.torsoPitch = 0.45f;
        p.torsoRoll = -0.12f * s;
        p.headPitch = -0.35f;
    }
    return p;
}

TPose SkiSlow(bool board, float s, float c) {
    TPose p;
    if (board) {
        p.bodyYaw = kSideways;
        p.bodyRoll = -0.06f;
        SetLegs(p, 0.3f, 0.62f + 0.06f * s, 0.22f);
        SetArms(p, 0.15f, 0.55f + 0.1f * c, 0.4f);
        p.torsoPitch = 0.12f;
        p.headYaw = -0.95f;
    } else {
        SetLegs(p, 0.3f, 0.6f + 0.06f * s, 0.16f, 0.28f);
        SetArms(p, 0.35f, 0.38f, 0.6f);
        p.poleBack = 0.6f;
        p.poleOut = 0.45f;
        p.torsoPitch = 0.25f;
        p.bodyRoll = 0.05f * c;
        p.headPitch = -0.1f;
    }
    return p;
}

TPose Injured(bool board, float s, float c) {
    TPose p;
    p.lying = true;
    p.grounded = false;
    p.skis = false;
    p.poles = false;
    p.gearBeside = true;
    p.legs[0] = {0.35f, 0.05f, 0.75f, 0};
    p.legs[1] = {0.05f, 0.12f, 0.1f, 0};
    p.arms[0] = {2.5f + 0.4f * s, 0.35f + 0.2f * c, 0.25f};  // waving for help
    p.arms[1] = {0.25f, 0.6f, 0.3f};
    p.headPitch = -0.25f;
    p.headYaw = 0.25f * s;
    (void)board;
    return p;
}

TPose Walk(bool board, float phase) {
    TPose p;
    p.skis = false;
    p.poles = false;
    for (int k = 0; k < 2; ++k) {
        const float a = phase + k * kTurn / 2;
        p.legs[k] = {0.38f * std::sin(a), 0.03f, 0.12f + 0.6f * std::max(0.0f, std::cos(a)), 0};
        p.arms[k] = {-0.35f * std::sin(a), 0.12f, 0.35f};
    }
    p.torsoYaw = 0.08f * std::sin(phase);
    p.torsoPitch = 0.06f;
    if (board) {
        p.carry = TCarry::Board;
        p.arms[0] = {0.05f, 0.38f, 0.55f};  // the left arm holds the board
    } else {
        p.carry = TCarry::Skis;
        p.arms[1] = {0.45f, 0.1f, 2.2f};  // the right hand steadies the skis on the shoulder
    }
    return p;
}

}  // namespace

TPose PoseFrame(TFigureKind kind, int pose, int frame, int frames) {
    const float phase = kTurn * float(frame) / float(frames);
    const float s = std::sin(phase), c = std::cos(phase);
    const bool board = kind == TFigureKind::Board;
    switch (pose) {
        case 0:
            return Stand(board, s, c);
        case 1:
            return Sit(board, s, c);
        case 2:
            return Ski(board, s, c);
        case 3:
            return Injured(board, s, c);
        case 4:
            return SkiSlow(board, s, c);
        default:
            return Walk(board, phase);
    }
}

TPose AvatarFrame(int cycle, int frame, int frames) {
    const float phase = kTurn * float(frame) / float(frames);
    const float s = std::sin(phase), c = std::cos(phase);
    if (cycle == 0) return Ski(false, s, c);
    if (cycle == 1) {
        // Walking on skis: short alternating steps, the poles pushing in turn.
        TPose p;
        for (int k = 0; k < 2; ++k) {
            const float a = phase + k * kTurn / 2;
            p.legs[k] = {0.22f * std::sin(a), 0.06f, 0.2f + 0.3f * std::max(0.0f, std::cos(a)), 0};
            p.arms[k] = {0.45f - 0.35f * std::sin(a), 0.25f, 0.55f};
        }
        p.poleBack = 0.4f;
        p.poleOut = 0.2f;
        p.torsoPitch = 0.18f;
        p.torsoYaw = 0.06f * s;
        return p;
    }
    // The tuck ("egg"): deep in the knees, chest on the thighs, poles under the arms.
    TPose p;
    SetLegs(p, 1.05f, 1.95f, 0.05f);
    SetArms(p, 1.35f, 0.15f, 1.25f);
    p.torsoPitch = 1.2f;
    p.headPitch = -1.05f;
    p.poleBack = 1.6f;
    p.poleOut = 0.45f;
    (void)c;
    return p;
}

}  // namespace vallorn::datagen::figures
