#include "ui/judged_text.h"

namespace vallorn {

ImVec4 JudgedColour(TSKIJudged judged) {
    switch (judged) {
        case TSKIJudged::Good:
            return ImVec4(0.30f, 0.85f, 0.30f, 1);
        case TSKIJudged::Average:
            return ImVec4(0.95f, 0.85f, 0.20f, 1);
        case TSKIJudged::Bad:
            return ImVec4(1.00f, 0.35f, 0.30f, 1);
        case TSKIJudged::Low:
            return ImVec4(0.70f, 0.70f, 0.70f, 1);
        default:
            return ImGui::GetStyleColorVec4(ImGuiCol_Text);
    }
}

void DrawJudgedMark(ImDrawList* draw, ImVec2 at, float size, TSKIJudged judged) {
    const ImU32 colour = ImGui::GetColorU32(JudgedColour(judged));
    const float m = size * 0.15f;
    const ImVec2 a(at.x + m, at.y + m), b(at.x + size - m, at.y + size - m);
    const ImVec2 mid((a.x + b.x) / 2, (a.y + b.y) / 2);
    switch (judged) {
        case TSKIJudged::Good:
            draw->AddTriangleFilled(ImVec2(mid.x, a.y), ImVec2(b.x, b.y), ImVec2(a.x, b.y), colour);
            break;
        case TSKIJudged::Average:
            draw->AddQuadFilled(ImVec2(mid.x, a.y), ImVec2(b.x, mid.y), ImVec2(mid.x, b.y),
                                ImVec2(a.x, mid.y), colour);
            break;
        case TSKIJudged::Bad:
            draw->AddTriangleFilled(ImVec2(a.x, a.y), ImVec2(b.x, a.y), ImVec2(mid.x, b.y), colour);
            break;
        default:
            break;
    }
}

void JudgedText(const std::string& text, TSKIJudged judged) {
    const float side = ImGui::GetTextLineHeight();
    const ImVec2 at = ImGui::GetCursorScreenPos();
    DrawJudgedMark(ImGui::GetWindowDrawList(), at, side, judged);
    ImGui::Dummy(ImVec2(side, side));
    ImGui::SameLine(0, 2);
    ImGui::PushStyleColor(ImGuiCol_Text, JudgedColour(judged));
    ImGui::TextUnformatted(text.c_str());
    ImGui::PopStyleColor();
    const char* word = JudgedWord(judged);
    if (*word && ImGui::IsItemHovered()) ImGui::SetTooltip("%s", word);
}

}  // namespace vallorn
