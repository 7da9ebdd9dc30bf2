// The objectives window: the tabs "Active objectives" and "Completed objectives" with one card
// per objective (its name, description, time left, value, reward, "Goto" and "Help"), and the
// blinking "New objective" panel over it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

// The window's height for a tab whose cards are `cardsHeight` tall in all: the cards and the
// tabs, at most 421, or 133 without a card.
float ObjectivesWindowHeight(float cardsHeight, size_t cards);
// The blinking panel's text: "New objective:" or "New objectives:", a line per name.
std::string NewObjectivesText(const std::vector<std::string>& names);

class TSKIObjectivesWindow {
public:
    bool Visible() const { return visible_; }
    void Show(bool completedTab);
    void Hide() { visible_ = false; }
    // Rebuilds the cards from the engine's list.
    void Refresh(const TSKIEngine& engine);
    // The active tab with the blinking panel naming `names`; true when the menu bar's
    // objectives button is to be marked (several names).
    bool Announce(const TSKIEngine& engine, const std::vector<std::string>& names);
    // The periodic update: the panel's counter runs down and the panel hides below 0.
    void Tick();

    struct TActions {
        std::optional<int> GotoObjective;  // index into the engine's list
        std::string Help;                  // a topic to open
    };
    // Inside the ImGui frame; `right` is where the window's right edge may go at most.
    TActions Draw(const TSKIEngine& engine, float viewWidth, float viewHeight, float scale);

private:
    void DrawCard(const TSKIEngine& engine, size_t index, float scale, TActions& actions);

    bool visible_ = false;
    int tab_ = 0;  // 0 active, 1 completed
    bool selectTab_ = false;
    std::vector<size_t> cards_[2];
    std::vector<float> heights_;  // per objective, as last drawn
    std::string panelText_;
    int panelCounter_ = 0;
    bool panelShown_ = false;
};

}  // namespace vallorn
