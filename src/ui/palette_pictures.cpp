// The palette boxes' pictures, drawn with the interface's own primitives: a winter backdrop and
// on it the lift type's line with its carriers, or the building type.
#include <algorithm>
#include <cmath>

#include <imgui.h>

#include "base/types.h"
#include "ui/palette_boxes.h"

namespace vallorn {

namespace {

// Drawing in a 100 × 50 frame mapped onto the panel.
struct TCanvas {
    ImDrawList* dl;
    ImVec2 o;
    float s;  // pixels per unit
    ImVec2 P(float x, float y) const { return ImVec2(o.x + x * s, o.y + y * s); }
    void Rect(float x0, float y0, float x1, float y1, ImU32 c, float round = 0) const {
        dl->AddRectFilled(P(x0, y0), P(x1, y1), c, round * s);
    }
    void Line(float x0, float y0, float x1, float y1, ImU32 c, float w) const {
        dl->AddLine(P(x0, y0), P(x1, y1), c, w * s);
    }
    void Tri(float x0, float y0, float x1, float y1, float x2, float y2, ImU32 c) const {
        dl->AddTriangleFilled(P(x0, y0), P(x1, y1), P(x2, y2), c);
    }
    void Circle(float x, float y, float r, ImU32 c) const {
        dl->AddCircleFilled(P(x, y), r * s, c, 24);
    }
    void Text(float x, float y, const char* t, ImU32 c) const { dl->AddText(P(x, y), c, t); }
};

constexpr ImU32 kWall = IM_COL32(150, 96, 58, 255);
constexpr ImU32 kWallDark = IM_COL32(110, 68, 40, 255);
constexpr ImU32 kRoof = IM_COL32(70, 56, 52, 255);
constexpr ImU32 kSnow = IM_COL32(250, 252, 255, 255);
constexpr ImU32 kWindow = IM_COL32(255, 214, 120, 255);
constexpr ImU32 kSteel = IM_COL32(90, 96, 110, 255);
constexpr ImU32 kRed = IM_COL32(210, 40, 40, 255);
constexpr ImU32 kWhite = IM_COL32(255, 255, 255, 255);

void Backdrop(const TCanvas& c) {
    c.dl->AddRectFilledMultiColor(c.P(0, 0), c.P(100, 50), IM_COL32(96, 150, 214, 255),
                                  IM_COL32(96, 150, 214, 255), IM_COL32(200, 222, 244, 255),
                                  IM_COL32(200, 222, 244, 255));
    c.Tri(-10, 40, 28, 8, 62, 40, IM_COL32(176, 190, 210, 255));
    c.Tri(30, 40, 70, 4, 112, 40, IM_COL32(160, 176, 200, 255));
    c.Tri(22, 14, 28, 8, 34, 14, kSnow);
    c.Tri(63, 11, 70, 4, 77, 11, kSnow);
    c.Rect(0, 38, 100, 50, IM_COL32(236, 242, 250, 255));
    for (float x : {6.0f, 14.0f, 88.0f, 95.0f}) {
        c.Tri(x - 3, 40, x, 32, x + 3, 40, IM_COL32(40, 92, 64, 255));
    }
}

// A roofed house: walls, a pitched roof with snow on it and windows.
void House(const TCanvas& c, float x0, float x1, float base, float wallH, ImU32 wall, int windows) {
    const float top = base - wallH;
    c.Rect(x0, top, x1, base, wall);
    c.Tri(x0 - 2, top, (x0 + x1) / 2, top - wallH * 0.6f, x1 + 2, top, kRoof);
    c.Tri(x0 - 1, top - 0.4f, (x0 + x1) / 2, top - wallH * 0.6f, x1 + 1, top - 0.4f, kSnow);
    c.Rect(x0 - 2, top - 0.6f, x1 + 2, top + 0.4f, kRoof);
    const float w = (x1 - x0) / float(windows * 2 + 1);
    for (int k = 0; k < windows; ++k) {
        const float wx = x0 + w * float(2 * k + 1);
        c.Rect(wx, top + wallH * 0.25f, wx + w, top + wallH * 0.55f, kWindow, 0.3f);
    }
}

void Cross(const TCanvas& c, float x, float y, float r) {
    c.Circle(x, y, r, kWhite);
    c.Rect(x - r * 0.25f, y - r * 0.7f, x + r * 0.25f, y + r * 0.7f, kRed);
    c.Rect(x - r * 0.7f, y - r * 0.25f, x + r * 0.7f, y + r * 0.25f, kRed);
}

void Chair(const TCanvas& c, float x, float y, int seats, ImU32 colour) {
    const float half = float(seats) * 0.9f;
    c.Line(x, y, x, y + 5, kSteel, 0.5f);
    c.Rect(x - half, y + 5, x + half, y + 6, colour, 0.3f);
    c.Rect(x - half, y + 2.5f, x - half + 0.7f, y + 6, colour);
    for (int k = 0; k < seats; ++k) {
        c.Circle(x - half + 0.9f + 1.8f * float(k), y + 4.2f, 0.7f,
                 IM_COL32(40 + 40 * k, 60, 160 - 20 * k, 255));
    }
}

void Cabin(const TCanvas& c, float x, float y, float w, float h, ImU32 colour) {
    c.Line(x, y, x, y + 2, kSteel, 0.5f);
    c.Rect(x - w / 2, y + 2, x + w / 2, y + 2 + h, colour, 1.0f);
    c.Rect(x - w / 2 + 0.8f, y + 3, x + w / 2 - 0.8f, y + 2 + h * 0.5f,
           IM_COL32(190, 226, 250, 255), 0.5f);
}

void LiftPicture(const TCanvas& c, int type) {
    const bool surface = type == kLiftPlatter || type == kLiftTBar;
    // The line climbs from the lower station (left) to the upper one (right).
    const float x0 = 12, y0 = surface ? 36 : 30, x1 = 88, y1 = surface ? 14 : 8;
    auto at = [&](float t) { return ImVec2(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t); };
    c.Rect(x0 - 6, y0, x0 + 2, y0 + 6, kWallDark, 0.5f);
    c.Rect(x1 - 2, y1, x1 + 6, y1 + 6, kWallDark, 0.5f);
    for (float t : {0.33f, 0.66f}) {
        const ImVec2 p = at(t);
        c.Line(p.x, p.y, p.x, p.y + (surface ? 8 : 16), kSteel, 1.0f);
        c.Line(p.x - 2, p.y, p.x + 2, p.y, kSteel, 0.8f);
    }
    c.Line(x0, y0, x1, y1, IM_COL32(40, 40, 46, 255), 0.35f);
    const ImU32 colours[kLiftTypeCount] = {IM_COL32(230, 150, 30, 255), IM_COL32(230, 150, 30, 255),
                                           IM_COL32(40, 110, 200, 255), IM_COL32(200, 50, 50, 255),
                                           IM_COL32(220, 60, 60, 255),  IM_COL32(230, 200, 40, 255),
                                           IM_COL32(60, 160, 90, 255)};
    const ImU32 colour = colours[std::clamp(type, 0, kLiftTypeCount - 1)];
    for (float t : {0.17f, 0.5f, 0.83f}) {
        const ImVec2 p = at(t);
        switch (type) {
            case kLiftPlatter:  // a pole with a disc
                c.Line(p.x, p.y, p.x, p.y + 7, kSteel, 0.4f);
                c.Circle(p.x, p.y + 7.5f, 1.3f, colour);
                break;
            case kLiftTBar:
                c.Line(p.x, p.y, p.x, p.y + 7, kSteel, 0.4f);
                c.Line(p.x - 2.5f, p.y + 7, p.x + 2.5f, p.y + 7, colour, 0.8f);
                break;
            case kLiftDoubleChair:
                Chair(c, p.x, p.y, 2, colour);
                break;
            case kLiftQuadChair:
                Chair(c, p.x, p.y, 4, colour);
                break;
            case kLiftSixChair:
                Chair(c, p.x, p.y, 6, colour);
                break;
            case kLiftCableCar:  // small cabins
                Cabin(c, p.x, p.y, 5, 5, colour);
                break;
            default:  // the aerial tram: one big cabin
                if (t == 0.5f) Cabin(c, p.x, p.y, 11, 7, colour);
                break;
        }
    }
}

void BuildingPicture(const TCanvas& c, int type) {
    switch (type) {
        case kBuildSnowCannon:
            c.Line(44, 42, 50, 30, kSteel, 1.0f);
            c.Line(56, 42, 50, 30, kSteel, 1.0f);
            c.Rect(46, 26, 58, 32, IM_COL32(240, 200, 40, 255), 1.5f);
            for (int k = 0; k < 14; ++k) {
                c.Circle(60 + float(k % 5) * 4 + float(k) * 0.6f,
                         24 - float(k % 4) * 2.5f + float(k) * 0.3f, 0.9f, kWhite);
            }
            break;
        case kBuildStall:
            c.Rect(40, 28, 60, 42, kWall);
            for (int k = 0; k < 5; ++k)
                c.Rect(38 + float(k) * 4.8f, 24, 42.8f + float(k) * 4.8f, 28,
                       k % 2 ? kWhite : kRed);
            c.Rect(43, 31, 57, 35, kWindow);
            break;
        case kBuildRescueStation:
            House(c, 30, 56, 42, 12, IM_COL32(230, 230, 226, 255), 2);
            Cross(c, 43, 24, 3);
            c.Circle(74, 40, 8, IM_COL32(120, 126, 136, 255));
            c.Text(71.5f, 36.5f, "H", kWhite);
            break;
        case kBuildSnowBar:
            House(c, 36, 64, 42, 12, kWall, 3);
            c.Rect(66, 34, 70, 42, kWallDark);
            c.Circle(68, 32, 2.5f, IM_COL32(230, 120, 40, 255));
            break;
        case kBuildSkiPatrol:
            House(c, 32, 56, 42, 11, IM_COL32(200, 60, 50, 255), 2);
            Cross(c, 44, 25, 2.6f);
            c.Rect(62, 37, 76, 41, IM_COL32(240, 200, 40, 255), 1.0f);
            c.Line(60, 42, 78, 42, kSteel, 0.8f);
            break;
        case kBuildHospital:
            House(c, 24, 76, 42, 18, IM_COL32(236, 236, 232, 255), 5);
            Cross(c, 50, 15, 3.4f);
            break;
        case kBuildSnowcatGarage:
            House(c, 28, 72, 42, 14, IM_COL32(120, 130, 140, 255), 0);
            c.Rect(34, 31, 50, 42, IM_COL32(70, 76, 86, 255));
            c.Rect(54, 31, 66, 42, IM_COL32(70, 76, 86, 255));
            c.Rect(35, 36, 49, 41, IM_COL32(220, 60, 50, 255), 1.0f);
            break;
        case kBuildCot:
            House(c, 40, 60, 42, 9, kWallDark, 1);
            break;
        case kBuildShelter:
            c.Rect(38, 30, 40, 42, kWallDark);
            c.Rect(60, 30, 62, 42, kWallDark);
            c.Tri(34, 31, 50, 20, 66, 31, kRoof);
            c.Tri(36, 30, 50, 21, 64, 30, kSnow);
            c.Rect(42, 37, 58, 39, kWall);
            break;
        case kBuildSightseeing:
            c.Rect(46, 16, 54, 42, IM_COL32(170, 160, 150, 255));
            c.Rect(42, 12, 58, 17, kRoof);
            c.Tri(42, 12, 50, 4, 58, 12, kRoof);
            c.Rect(48, 20, 52, 24, kWindow);
            c.Rect(48, 28, 52, 32, kWindow);
            break;
        case kBuildParking:
            c.Rect(24, 38, 78, 46, IM_COL32(110, 114, 122, 255));
            for (float x : {34.0f, 46.0f, 58.0f, 70.0f}) c.Line(x, 38, x, 46, kWhite, 0.4f);
            c.Rect(36, 39, 44, 43, IM_COL32(200, 50, 50, 255), 1.0f);
            c.Rect(60, 39, 68, 43, IM_COL32(40, 100, 200, 255), 1.0f);
            c.Rect(14, 22, 22, 30, IM_COL32(40, 90, 200, 255), 1.0f);
            c.Line(18, 30, 18, 42, kSteel, 0.8f);
            c.Text(16.2f, 23.5f, "P", kWhite);
            break;
        case kBuildSelfService:
            House(c, 22, 78, 42, 14, kWall, 5);
            c.Rect(44, 34, 56, 42, kWallDark);
            break;
        case kBuildKiosk:
            c.Rect(44, 30, 56, 42, IM_COL32(60, 140, 90, 255));
            c.Tri(42, 30, 50, 23, 58, 30, kRoof);
            c.Rect(46, 33, 54, 36, kWindow);
            break;
        default:
            break;
    }
}

}  // namespace

void DrawPalettePicture(TSKIPaletteKind kind, int type, float w, float h) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const float s = std::min(w / 100.0f, h / 50.0f);
    const TCanvas c{dl, ImVec2(at.x + (w - 100 * s) / 2, at.y + (h - 50 * s) / 2), s};
    dl->PushClipRect(c.P(0, 0), c.P(100, 50), true);
    Backdrop(c);
    if (kind == TSKIPaletteKind::Lift)
        LiftPicture(c, type);
    else
        BuildingPicture(c, type);
    dl->PopClipRect();
    dl->AddRect(c.P(0, 0), c.P(100, 50), IM_COL32(120, 130, 150, 255), 3.0f);
    ImGui::Dummy(ImVec2(w, h));
}

}  // namespace vallorn
