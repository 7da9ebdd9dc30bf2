// Judged figures on screen: each judgement has its colour and its own mark drawn before the
// text (good a triangle up, average a diamond, bad a triangle down), and its word in the hint,
// so that the judgement reads without telling the colours apart.
#pragma once

#include <string>

#include <imgui.h>

#include "engine/stats_figures.h"

namespace vallorn {

ImVec4 JudgedColour(TSKIJudged judged);
// Draws the mark of a judgement at `at` in a square of side `size`; nothing for Plain and Low.
void DrawJudgedMark(ImDrawList* draw, ImVec2 at, float size, TSKIJudged judged);
// The mark and the text in the judgement's colour, on the current line; its word as the hint.
void JudgedText(const std::string& text, TSKIJudged judged);

}  // namespace vallorn
