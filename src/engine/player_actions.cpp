// The generic action flow and the actions on single lifts and buildings and on the park's
// finances.
#include "engine/player_actions.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/saturating.h"
#include "engine/economy.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

using Check = TSKIActionCheck;

constexpr int32_t kMaxPrice = 65535;
constexpr float kUpgradeStep = 0.1f;
constexpr float kLiftQualityCap = 2.0f;
constexpr float kBuildingQualityCap = 1.99f;
constexpr float kUpgradeLimit = 1.99f;
constexpr float kQualityEpsilon = 1e-4f;

const TSKISection* LiftAt(const TSKIEngine& e, size_t index) {
    if (index >= e.Sections.size() || !e.Sections[index]->IsLift()) return nullptr;
    return e.Sections[index].get();
}

TSKISection* LiftAt(TSKIEngine& e, size_t index) {
    return const_cast<TSKISection*>(LiftAt(std::as_const(e), index));
}

TSKIBuilding* BuildingAt(const TSKIEngine& e, size_t index) {
    return index < e.Buildings.size() ? e.Buildings[index].get() : nullptr;
}

const char* const kNoLift = "No such lift";
const char* const kNoBuilding = "No such building";
const char* const kNoMoney = "Not enough money!";

TSKIActionCheck CheckPrice(int32_t price) {
    if (price < 0 || price > kMaxPrice) return Check::Refused("A price runs from 0 to 65.535,-");
    return Check::Allowed(FormatMoney(price));
}

float LiftTypeQuality(const TSKISection& lift) {
    return lift.Type().ServiceQuality;
}

int32_t BuildingUpgradePrice(const TSKIEngine& e, const TSKIBuilding& b) {
    return int32_t(std::lround(float(e.Params.Buildings[b.Type].Cost) * e.Game().UpgradeCost));
}

}  // namespace

const char* ActionResultName(TSKIActionResult result) {
    switch (result) {
        case TSKIActionResult::Done:
            return "Done";
        case TSKIActionResult::Refused:
            return "Refused";
        case TSKIActionResult::Declined:
            return "Declined";
        case TSKIActionResult::Failed:
            return "Failed";
    }
    return "Failed";
}

TSKIActionOutcome PerformAction(TSKIEngine& engine, const TSKIPlayerAction& action) {
    TSKIActionOutcome out;
    out.Check = action.Check(engine);
    if (!out.Check.Ok) {
        out.Result = TSKIActionResult::Refused;
        out.Reason = out.Check.Text;
        if (out.Check.ErrorBox && engine.Dialogs) engine.Dialogs->ShowError(out.Check.Text);
        return out;
    }
    if (!out.Check.Question.empty() && engine.Dialogs &&
        !engine.Dialogs->AskYesNo(out.Check.Question, true)) {
        out.Result = TSKIActionResult::Declined;
        out.Reason = "Answered No";
        return out;
    }
    out.Result = action.Apply(engine, out.Reason);
    if (out.Result == TSKIActionResult::Declined && out.Reason.empty()) out.Reason = "Answered No";
    return out;
}

// --- prices -------------------------------------------------------------------------------

TSKIPlayerAction SetLiftPriceAction(size_t lift, int32_t price) {
    return {"lift-price " + std::to_string(lift) + " " + std::to_string(price),
            [=](const TSKIEngine& e) {
                if (!LiftAt(e, lift)) return Check::Refused(kNoLift);
                return CheckPrice(price);
            },
            [=](TSKIEngine& e, std::string&) {
                LiftAt(e, lift)->TicketPrice = uint16_t(price);
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction SetBuildingPriceAction(size_t building, int32_t price) {
    return {"building-price " + std::to_string(building) + " " + std::to_string(price),
            [=](const TSKIEngine& e) {
                if (!BuildingAt(e, building)) return Check::Refused(kNoBuilding);
                return CheckPrice(price);
            },
            [=](TSKIEngine& e, std::string&) {
                BuildingAt(e, building)->ServicePrice = uint16_t(price);
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction StepLiftPriceAction(size_t lift, int32_t step) {
    auto target = [=](const TSKIEngine& e) {
        return std::clamp(int32_t(LiftAt(e, lift)->TicketPrice) + step, 0, kMaxPrice);
    };
    return {"lift-price-step " + std::to_string(lift) + " " + std::to_string(step),
            [=](const TSKIEngine& e) {
                if (!LiftAt(e, lift)) return Check::Refused(kNoLift);
                return Check::Allowed(FormatMoney(target(e)));
            },
            [=](TSKIEngine& e, std::string&) {
                LiftAt(e, lift)->TicketPrice = uint16_t(target(e));
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction StepBuildingPriceAction(size_t building, int32_t step) {
    auto target = [=](const TSKIEngine& e) {
        return std::clamp(int32_t(BuildingAt(e, building)->ServicePrice) + step, 0, kMaxPrice);
    };
    return {"building-price-step " + std::to_string(building) + " " + std::to_string(step),
            [=](const TSKIEngine& e) {
                if (!BuildingAt(e, building)) return Check::Refused(kNoBuilding);
                return Check::Allowed(FormatMoney(target(e)));
            },
            [=](TSKIEngine& e, std::string&) {
                BuildingAt(e, building)->ServicePrice = uint16_t(target(e));
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction CopyLiftPriceAction(size_t lift, bool sameTypeOnly) {
    return {
        std::string(sameTypeOnly ? "lift-price-type " : "lift-price-all ") + std::to_string(lift),
        [=](const TSKIEngine& e) {
            if (!LiftAt(e, lift)) return Check::Refused(kNoLift);
            return Check::Allowed(FormatMoney(LiftAt(e, lift)->TicketPrice));
        },
        [=](TSKIEngine& e, std::string&) {
            const TSKISection& from = *LiftAt(e, lift);
            for (auto& s : e.Sections) {
                if (!s->IsLift() || (sameTypeOnly && s->LiftType != from.LiftType)) continue;
                s->TicketPrice = from.TicketPrice;
            }
            return TSKIActionResult::Done;
        }};
}

TSKIPlayerAction CopyBuildingPriceAction(size_t building, bool sameTypeOnly) {
    return {std::string(sameTypeOnly ? "building-price-type " : "building-price-all ") +
                std::to_string(building),
            [=](const TSKIEngine& e) {
                const TSKIBuilding* b = BuildingAt(e, building);
                if (!b) return Check::Refused(kNoBuilding);
                if (sameTypeOnly && e.Params.Buildings[b->Type].Category != kCategoryRestaurant) {
                    return Check::Refused("Only restaurants share a price");
                }
                return Check::Allowed(FormatMoney(b->ServicePrice));
            },
            [=](TSKIEngine& e, std::string&) {
                const TSKIBuilding& from = *BuildingAt(e, building);
                for (auto& b : e.Buildings) {
                    const bool copy =
                        sameTypeOnly ? b->Type == from.Type : IsRestaurantType(b->Type);
                    if (copy) b->ServicePrice = from.ServicePrice;
                }
                return TSKIActionResult::Done;
            }};
}

// --- open and closed ------------------------------------------------------------------------

TSKIPlayerAction SetLiftOpenAction(size_t lift, bool open) {
    return {"lift-open " + std::to_string(lift) + (open ? " on" : " off"),
            [=](const TSKIEngine& e) {
                const TSKISection* s = LiftAt(e, lift);
                if (!s) return Check::Refused(kNoLift);
                if (s->Status == kLiftBroken) return Check::Refused("Unavailable");
                return Check::Allowed(open ? "Opened" : "Closed");
            },
            [=](TSKIEngine& e, std::string&) {
                LiftAt(e, lift)->Status = open ? kLiftOpen : kLiftClosed;
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction SetBuildingOpenAction(size_t building, bool open) {
    return {"building-open " + std::to_string(building) + (open ? " on" : " off"),
            [=](const TSKIEngine& e) {
                if (!BuildingAt(e, building)) return Check::Refused(kNoBuilding);
                return Check::Allowed(open ? "Opened" : "Closed");
            },
            [=](TSKIEngine& e, std::string&) {
                BuildingAt(e, building)->Open = open;
                return TSKIActionResult::Done;
            }};
}

// --- names ----------------------------------------------------------------------------------

TSKIPlayerAction RenameSectionAction(size_t section, std::string name) {
    const size_t first = name.find_first_not_of(" \t\r\n");
    name = first == std::string::npos
               ? std::string()
               : name.substr(first, name.find_last_not_of(" \t\r\n") - first + 1);
    return {"rename " + std::to_string(section) + " " + name,
            [=](const TSKIEngine& e) {
                if (section >= e.Sections.size()) return Check::Refused("No such slope or lift");
                if (name.empty()) return Check::Refused("A name cannot be empty", true);
                if (name.size() > kMaxSectionName) {
                    return Check::Refused(
                        "A name has at most " + std::to_string(kMaxSectionName) + " letters", true);
                }
                return Check::Allowed(name);
            },
            [=](TSKIEngine& e, std::string&) {
                e.Sections[section]->Name = name;
                return TSKIActionResult::Done;
            }};
}

// --- upgrades -------------------------------------------------------------------------------

TSKIPlayerAction UpgradeLiftAction(size_t lift) {
    return {"lift-upgrade " + std::to_string(lift),
            [=](const TSKIEngine& e) {
                const TSKISection* s = LiftAt(e, lift);
                if (!s) return Check::Refused(kNoLift);
                if (LiftTypeQuality(*s) + s->UpgradeBonus > kUpgradeLimit) {
                    return Check::Refused("No more upgrade possible!", true);
                }
                const int32_t price = s->Type().CostPerPole;
                if (e.Park.ParkCash < price) return Check::Refused(kNoMoney, true);
                return Check::Allowed(
                    "Upgrade", price,
                    "Do you want to upgade this lift for " + FormatMoney(price) + " ?");
            },
            [=](TSKIEngine& e, std::string&) {
                TSKISection& s = *LiftAt(e, lift);
                const int32_t price = s.Type().CostPerPole;
                TakeFrom(e.Park.ParkCash, price);
                AddTo(s.InvestedMoney, price);
                s.UpgradeBonus += kUpgradeStep;
                const float q = LiftTypeQuality(s);
                if (q + s.UpgradeBonus > kLiftQualityCap) s.UpgradeBonus = kLiftQualityCap - q;
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction UpgradeBuildingAction(size_t building) {
    return {"building-upgrade " + std::to_string(building),
            [=](const TSKIEngine& e) {
                const TSKIBuilding* b = BuildingAt(e, building);
                if (!b) return Check::Refused(kNoBuilding);
                // A building stops at 1.99, which the lifts' "above 1.99" test would let it be
                // upgraded again for nothing; it counts as fully upgraded there.
                if (b->Params().ServiceQuality + b->UpgradeBonus >
                    kBuildingQualityCap - kQualityEpsilon) {
                    return Check::Refused("No more upgrade possible!", true);
                }
                const int32_t price = BuildingUpgradePrice(e, *b);
                if (e.Park.ParkCash < price) return Check::Refused(kNoMoney, true);
                return Check::Allowed(
                    "Upgrade", price,
                    "Do you want to upgade this building for " + FormatMoney(price) + " ?");
            },
            [=](TSKIEngine& e, std::string&) {
                TSKIBuilding& b = *BuildingAt(e, building);
                TakeFrom(e.Park.ParkCash, BuildingUpgradePrice(e, b));
                b.UpgradeBonus += kUpgradeStep;
                const float q = b.Params().ServiceQuality;
                if (q + b.UpgradeBonus > kBuildingQualityCap) {
                    b.UpgradeBonus = kBuildingQualityCap - q;
                }
                return TSKIActionResult::Done;
            }};
}

// --- finance --------------------------------------------------------------------------------
// The statistics window shows no message for a refused loan, repayment or PR campaign; the
// reasons below are for the hover of a disabled button and for reports.

TSKIPlayerAction TakeLoanAction(int32_t amount) {
    return {"loan take " + std::to_string(amount),
            [=](const TSKIEngine& e) {
                if (amount <= 0) return Check::Refused("The amount must be above 0");
                if (int64_t(e.Park.ParkLoan) + amount > e.Profile.LoanLimit) {
                    return Check::Refused("The loan limit is " + FormatMoney(e.Profile.LoanLimit));
                }
                return Check::Allowed("Take " + FormatMoney(amount), -amount);
            },
            [=](TSKIEngine& e, std::string& reason) {
                if (TakeLoan(e, amount)) return TSKIActionResult::Done;
                reason = "The bank refused the loan";
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction RepayLoanAction(int32_t amount) {
    return {"loan repay " + std::to_string(amount),
            [=](const TSKIEngine& e) {
                if (amount <= 0) return Check::Refused("The amount must be above 0");
                if (e.Park.ParkLoan < amount) {
                    return Check::Refused("The loan is only " + FormatMoney(e.Park.ParkLoan));
                }
                if (e.Park.ParkCash < amount) return Check::Refused(kNoMoney);
                return Check::Allowed("Repay " + FormatMoney(amount), amount);
            },
            [=](TSKIEngine& e, std::string& reason) {
                if (RepayLoan(e, amount)) return TSKIActionResult::Done;
                reason = "The bank refused the repayment";
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction MarketingAction(int priceType, int readerType) {
    return {"marketing " + std::to_string(priceType) + " " + std::to_string(readerType),
            [=](const TSKIEngine& e) {
                if (!MarketingPriceOffered(e, priceType)) {
                    return Check::Refused("This campaign is not offered");
                }
                if (readerType < 1 || readerType > 3) return Check::Refused("No such readers");
                const std::string warning = MarketingPriceWarning(e, priceType);
                if (!warning.empty()) return Check::Refused(warning);
                const int32_t price = MarketingPrice(e, priceType);
                return Check::Allowed("Marketing campaign (" + FormatMoney(price) + ")", price);
            },
            [=](TSKIEngine& e, std::string& reason) {
                const TSKIMarketingResult r = StartMarketingCampaign(e, priceType, readerType);
                if (!r.Started) {
                    reason = r.Text;
                    return TSKIActionResult::Failed;
                }
                if (e.Dialogs) e.Dialogs->ShowInformation(r.Text);
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction PRCampaignAction() {
    return {"pr",
            [](const TSKIEngine& e) {
                const int32_t price = e.Profile.PRCampPrice;
                if (price <= 0) return Check::Refused("No PR campaign is offered");
                if (e.Park.ParkCash < price) return Check::Refused(kNoMoney);
                return Check::Allowed("Run PR campaign (" + FormatMoney(price) + ")", price);
            },
            [](TSKIEngine& e, std::string& reason) {
                if (RunPRCampaign(e)) return TSKIActionResult::Done;
                reason = kNoMoney;
                return TSKIActionResult::Failed;
            }};
}

TSKIPlayerAction SetFriendsWelcomeAction(bool welcome) {
    return {std::string("friends ") + (welcome ? "on" : "off"),
            [=](const TSKIEngine&) {
                return Check::Allowed(welcome ? "Friends welcome" : "Friends not welcome");
            },
            [=](TSKIEngine& e, std::string&) {
                e.Profile.FriendsEnabled = welcome;
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction EraseHistoryAction() {
    return {"erase-history", [](const TSKIEngine&) { return Check::Allowed("Erase history"); },
            [](TSKIEngine& e, std::string&) {
                for (auto& series : e.History) series.assign(1, 0);
                return TSKIActionResult::Done;
            }};
}

TSKIPlayerAction MovingBeams(TSKIPlayerAction action) {
    action.Apply = [apply = std::move(action.Apply)](TSKIEngine& e, std::string& reason) {
        const TSKIActionResult result = apply(e, reason);
        if (result == TSKIActionResult::Done) e.Display().HighlightChanged(e);
        return result;
    };
    return action;
}

// --- the clock ------------------------------------------------------------------------------

TSKIPlayerAction SetSpeedAction(float speed) {
    const bool known = speed == 0 || speed == 1 || speed == 2 || speed == 4;
    const std::string word = known ? std::to_string(int(speed)) : FormatReal(speed);
    return {"speed " + word,
            [=](const TSKIEngine&) {
                if (!known) return Check::Refused("The park runs at 0, 1, 2 or 4 times its speed");
                return Check::Allowed(speed == 0 ? "Pause" : word + " x");
            },
            [=](TSKIEngine& e, std::string&) {
                e.Park.ParkSpeed = speed;
                return TSKIActionResult::Done;
            }};
}

}  // namespace vallorn
