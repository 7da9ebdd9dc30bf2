// The statistics window "Statistics": the park's figures on ten pages (park, rating, skiers,
// graphs, lifts, buildings, finance, marketing, history, achievements) and the player's
// financial decisions, each made through a player action.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/player_actions.h"
#include "engine/stats_figures.h"
#include "presentation/view_state.h"

namespace vallorn {

class TSKIStatsWindow {
public:
    static constexpr int kPages = 10;
    static const char* PageCaption(int page);

    bool Visible = false;
    void Show() { Visible = raise_ = true; }
    // Shows the window on page `page` (0..kPages - 1).
    void ShowPage(int page) {
        Show();
        selectPage_ = page;
    }

    struct TResult {
        std::optional<size_t> OpenLift;  // a row of the lifts page was clicked (section index)
        std::optional<size_t> OpenBuilding;
        // The player's decisions of this frame, to be performed after it (an action may show
        // a box, which cannot open inside a frame).
        std::vector<TSKIPlayerAction> Actions;
        std::optional<uint8_t> SkierFlags;  // the graphs page's "Show flags": for the view
    };
    // Inside the ImGui frame; the pages are filled from the engine as they are drawn, the
    // graphs page's flags box from the view.
    TResult Draw(const TSKIEngine& engine, const TSKIViewState& view, float viewWidth,
                 float viewHeight, float scale);
    int Page() const { return page_; }

private:
    void DrawPark(const TSKIEngine& engine, const TSKIParkData& snap, const TSKISkierCounts& c);
    void DrawRating(const TSKIParkData& snap);
    void DrawSkiers(const TSKIEngine& engine, const TSKISkierCounts& c);
    void DrawGraphs(const TSKIEngine& engine, const TSKIViewState& view, TResult& result,
                    float scale);
    void DrawLifts(const TSKIEngine& engine, TResult& result);
    void DrawBuildings(const TSKIEngine& engine, TResult& result);
    void DrawFinance(const TSKIEngine& engine);
    void DrawMarketing(const TSKIEngine& engine);
    void DrawHistory(const TSKIEngine& engine, float scale);
    void DrawAchievements(const TSKIEngine& engine);

    std::vector<TSKIPlayerAction> pending_;  // collected while drawing
    bool raise_ = false;
    int page_ = 0;
    int selectPage_ = -1;  // the page to bring to the front at the next frame, or -1
    int graph_ = 0;        // the distribution shown (TSKIGraph)
    int history_ = 0;      // the history series shown
    bool showFlags_ = false;
    bool allTimes_ = false;  // the finance page's time frame: "last hour" first
    uint32_t liftColumns_ = ~0u, buildingColumns_ = ~0u;
    bool onlyRestaurants_ = false;
    // The marketing choice in progress: 0 none, 1 the price type, 2 the readers, 3 confirm.
    int marketingStep_ = 0;
    int priceType_ = 0, readerType_ = 0;
    bool marketingWarning_ = false;
    // The skiers page keeps its texts while the park has no skiers.
    std::string activity_[kSkierStateCount], concern_[4];
};

}  // namespace vallorn
