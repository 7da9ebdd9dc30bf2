// The information windows: "Lift information", "Slope information" and "Building information",
// opened beside the cursor by a click on an object with no tool in hand. They show the object's
// state and finances (refilled by a 33 ms timer) and carry the player's actions on it: renaming,
// opening and closing, prices, upgrades, demolition, moving the camera there, the downhill race
// and a garage's area of operations. Every change is a player action, performed after the
// frame (it may ask a question); a refusal shows the core's text.
#pragma once

#include <functional>
#include <string>

#include "engine/player_actions.h"
#include "ui/info_fields.h"

namespace vallorn {

class TSKIInfoWindows {
public:
    // What the windows ask of the game window.
    struct THooks {
        // Runs the callable after the frame (questions and boxes cannot start inside it).
        std::function<void(std::function<void()>)> AfterFrame;
        // "View": the camera travels to the point, restoring no tool.
        std::function<void(const TSKIVector&)> Goto;
        // "Downhill race" on the slope (wired by the free ride).
        std::function<void(size_t slope)> DownhillRace;
        // "Set target": the area-of-operations tool for the garage.
        std::function<void(size_t building)> SetTarget;
        // Performs a player action on the park (the windows only read it).
        std::function<TSKIActionOutcome(const TSKIPlayerAction&)> Perform;
    };

    void SetHooks(THooks hooks) { hooks_ = std::move(hooks); }
    // The engine the windows read and act on; a new engine hides every window.
    void Bind(const TSKIEngine* engine);
    // A click with no tool on `cell` at the pointer (x, y): shows the window of the lift,
    // slope or building there and hides the others (all of them over empty ground).
    void OpenAt(const TerrainCell& cell, float x, float y);
    void HideAll();
    bool Visible(TSKIInfoKind kind) const;
    // The 33 ms timer: the shown windows are refilled from the park.
    void Tick(double dt);
    // Inside the ImGui frame.
    void Draw(float viewWidth, float viewHeight, float scale);

private:
    struct TWindow {
        bool Visible = false;
        size_t Index = 0;
        const void* Object = nullptr;  // the section or building shown: found again by it
        float X = 0, Y = 0;            // where it opened
        int Place = 0;                 // frames left in which it is moved onto the screen
        float W = 0, H = 0;            // its size at the last frame (0: not drawn yet)
        bool Relief = false;           // the "Relief" page is showing
        std::string Message;           // the core's text for a refused action
        float Body = 0;                // the height its rows need (0: not drawn yet)
        float Tail = 0;                // the height of what follows the rows (the buttons)
        float TailTop = 0;             // where that began this frame
        bool BodyDrawn = false;        // the rows were drawn this frame
    };

    // The object is still in the park (its index follows a changed list); hides it if not.
    bool Resolve(TWindow& w, TSKIInfoKind kind);
    void Refill();
    // Performs the action after the frame, then refills; a refusal's text goes to `w`.
    void Act(TSKIInfoKind kind, TSKIPlayerAction action, bool hideWhenDone = false);
    void AskName(TSKIInfoKind kind);
    bool Begin(TWindow& w, const char* title, float width, float viewW, float viewH, float scale);
    void End(TWindow& w);
    // The window's rows, in a region that scrolls when the window would not fit the display;
    // the buttons after EndBody stay in view.
    void BeginBody(TWindow& w);
    void EndBody(TWindow& w);
    void DrawLift(float viewW, float viewH, float scale);
    void DrawSlope(float viewW, float viewH, float scale);
    void DrawBuilding(float viewW, float viewH, float scale);
    void DrawLiftPage(float scale);
    void DrawBuildingButtons(float scale);
    TWindow& Of(TSKIInfoKind kind);

    THooks hooks_;
    const TSKIEngine* engine_ = nullptr;
    TWindow lift_, slope_, building_;
    TSKILiftInfo liftInfo_;
    TSKISlopeInfo slopeInfo_;
    TSKIBuildingInfo buildingInfo_;
    TSKIRelief liftRelief_, slopeRelief_;
    double timer_ = 0;
    float maxHeight_ = 1e6f;  // the display's height less the margins
    float fontScale_ = 1.0f;  // below 1 on a display too narrow for the windows at their scale
};

}  // namespace vallorn
