// Player actions: everything a player does to the park is one action with a check (would it
// work, what does it cost, what text does the hover or the dialog show) and an apply. Windows,
// tools and the headless runner's scripts only call actions; nothing else changes the park on
// the player's behalf.
//
// The economy and single-object actions live here, the construction actions beside the
// construction code (construction/construction_actions.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace vallorn {

class TSKIEngine;

// What a check tells before anything changes.
struct TSKIActionCheck {
    bool Ok = false;
    int32_t Cost = 0;  // what the apply takes from the cash (negative: what it brings in)
    // Refused: the reason. Allowed: what the hover text or the window shows.
    std::string Text;
    // Asked as a Yes/No question before the apply (empty: nothing is asked).
    std::string Question;
    // A refusal the window shows in an error box (the upgrades); others show nowhere but in
    // the hover text or the report.
    bool ErrorBox = false;

    static TSKIActionCheck Refused(std::string text, bool errorBox = false) {
        TSKIActionCheck c;
        c.Text = std::move(text);
        c.ErrorBox = errorBox;
        return c;
    }
    static TSKIActionCheck Allowed(std::string text, int32_t cost = 0, std::string question = {}) {
        TSKIActionCheck c;
        c.Ok = true;
        c.Cost = cost;
        c.Text = std::move(text);
        c.Question = std::move(question);
        return c;
    }
};

enum class TSKIActionResult : uint8_t {
    Done,      // the park changed
    Refused,   // the check said no; nothing changed
    Declined,  // the player answered No; nothing changed
    Failed,    // the check passed but the apply could not be carried out; nothing changed
};

struct TSKIActionOutcome {
    TSKIActionResult Result = TSKIActionResult::Refused;
    TSKIActionCheck Check;
    std::string Reason;  // why it was refused, declined or failed
    bool Done() const { return Result == TSKIActionResult::Done; }
};

struct TSKIPlayerAction {
    std::string Name;  // "lift-price 0 12": for reports
    // Changes nothing.
    std::function<TSKIActionCheck(const TSKIEngine&)> Check;
    // Runs after a passed check (and a Yes). Returns Done, Declined (a question of the engine
    // was answered No) or Failed with the reason in `reason`.
    std::function<TSKIActionResult(TSKIEngine&, std::string& reason)> Apply;
};

// The player's whole flow: check; a refusal shown in an error box when the check says so;
// the question (a headless run answers Yes); apply.
TSKIActionOutcome PerformAction(TSKIEngine& engine, const TSKIPlayerAction& action);
const char* ActionResultName(TSKIActionResult result);  // "Done", "Refused", ...

// --- single lifts and buildings (the information windows) ----------------------------------
// Ticket and service prices are whole units 0..65535.
TSKIPlayerAction SetLiftPriceAction(size_t lift, int32_t price);
TSKIPlayerAction SetBuildingPriceAction(size_t building, int32_t price);
// The up/down controls: the price moves by `step`, never below 0.
TSKIPlayerAction StepLiftPriceAction(size_t lift, int32_t step);
TSKIPlayerAction StepBuildingPriceAction(size_t building, int32_t step);
// "All lifts" / "All of this type": the lift's ticket price to every lift (of its type).
TSKIPlayerAction CopyLiftPriceAction(size_t lift, bool sameTypeOnly);
// "All restaurants" (the restaurants of IsRestaurantType) / "All of this type" (types of the
// restaurant category only).
TSKIPlayerAction CopyBuildingPriceAction(size_t building, bool sameTypeOnly);
// The status button: a broken-down lift can be neither opened nor closed.
TSKIPlayerAction SetLiftOpenAction(size_t lift, bool open);
TSKIPlayerAction SetBuildingOpenAction(size_t building, bool open);
// "Upgrade": +0.1 service quality for the lift type's pole price, or for the building's cost
// times GameUpgradeCost; a lift's quality stops at 2, a building's at 1.99.
TSKIPlayerAction UpgradeLiftAction(size_t lift);
TSKIPlayerAction UpgradeBuildingAction(size_t building);

// The name field: a slope's or lift's new name, without surrounding blanks; refused when
// empty (the hover text and the lists show the name) or longer than kMaxSectionName bytes.
constexpr size_t kMaxSectionName = 64;
TSKIPlayerAction RenameSectionAction(size_t section, std::string name);

// --- finance (the statistics window) -------------------------------------------------------
TSKIPlayerAction TakeLoanAction(int32_t amount);
TSKIPlayerAction RepayLoanAction(int32_t amount);
// Price type 1 cheap, 2 normal, 3 exclusive; readers 1 beginners, 2 skiers, 3 skilled.
TSKIPlayerAction MarketingAction(int priceType, int readerType);
TSKIPlayerAction PRCampaignAction();
// "Friends welcome": whether the profile's friends may come in the mornings.
TSKIPlayerAction SetFriendsWelcomeAction(bool welcome);
// "Erase history": every history series emptied down to one sample of 0.
TSKIPlayerAction EraseHistoryAction();

// --- what the view shows ----------------------------------------------------------------------
// The action with the display told once it is done that the highlight's beams move (opening,
// closing or upgrading a lift or building moves them). The skier flags and the highlight
// palette's mode are the view's own (presentation/view_state.h), not park edits.
TSKIPlayerAction MovingBeams(TSKIPlayerAction action);

// --- the clock (the menu bar's speed buttons and keys) ---------------------------------------
// The park's speed: 0 pauses, 1, 2 and 4 run the park that many times as fast.
TSKIPlayerAction SetSpeedAction(float speed);

}  // namespace vallorn
