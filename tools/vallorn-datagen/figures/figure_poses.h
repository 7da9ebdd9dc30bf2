// The poses the game shows a skier in, each a looping flip-book of kFlipFrames frames:
//   "Stand"   standing still on skis, looking around (animation 0)
//   "Sit"     seated on a chair, legs swinging (animation 1)
//   "Ski"     skiing fast, carving from edge to edge (animation 2)
//   "Injured" lying on the back in the snow, waving for help (animation 3)
//   "SkiSlow" skiing slowly in a snowplough (animation 4)
//   "Walk"    walking in boots, skis (or board) carried (moving off the slopes)
// A boarder stands sideways on its board in the riding poses.
#pragma once

#include "figure_body.h"

namespace vallorn::datagen::figures {

constexpr int kFlipFrames = 20;
constexpr const char* kPoseNames[] = {"Stand", "Sit", "Ski", "Injured", "SkiSlow", "Walk"};
constexpr int kPoses = 6;

// The pose of frame `frame` (0..frames-1) of a looping cycle.
TPose PoseFrame(TFigureKind kind, int pose, int frame, int frames = kFlipFrames);

// The free-ride avatar's cycles: 0 skiing, 1 walking (skis on), 2 tucked.
TPose AvatarFrame(int cycle, int frame, int frames);

}  // namespace vallorn::datagen::figures
