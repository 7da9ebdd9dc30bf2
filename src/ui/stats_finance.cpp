// The statistics window's pages of the park's objects and money: the lift and building
// lists with their column filter, the finance table with the bank loan, the marketing and PR
// campaigns with the friends, and the achievements.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <imgui.h>

#include "engine/economy.h"
#include "engine/player_actions.h"
#include "ui/judged_text.h"
#include "ui/probe.h"
#include "ui/stats_layout.h"
#include "ui/stats_pages.h"
#include "ui/stats_window.h"

namespace vallorn {

namespace {

std::string Money(int64_t v) {
    return FormatMoney(int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)), true);
}
std::string Fixed2(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

struct TColumn {
    const char* Caption;
    const char* Filter = nullptr;  // the filter box's caption when it differs from the caption
    const char* FilterCaption() const { return Filter ? Filter : Caption; }
};

// A report list of the objects of `list` that `keep` accepts, one row each: the first column
// always, the others as their filter bits say, each cell the text `cell` gives for the object
// and the column. A click on a row returns the object's index in `list`.
template <typename TList, typename TKeep, typename TCell>
std::optional<size_t> ReportList(const char* id, const std::vector<TColumn>& columns,
                                 uint32_t& filter, const TList& list, const TKeep& keep,
                                 const TCell& cell) {
    if (ImGui::TreeNode("Filter")) {
        for (size_t c = 1; c < columns.size(); ++c) {
            bool on = (filter >> c) & 1u;
            if (c > 1 && (c - 1) % 4 != 0) ImGui::SameLine(float((c - 1) % 4) * 150);
            if (ImGui::Checkbox(columns[c].FilterCaption(), &on)) filter ^= 1u << c;
        }
        if (ImGui::Button("Clear all")) filter = 1u;
        ImGui::TreePop();
    }
    std::vector<size_t> shown, objects;
    for (size_t c = 0; c < columns.size(); ++c)
        if (c == 0 || ((filter >> c) & 1u)) shown.push_back(c);
    for (size_t i = 0; i < list.size(); ++i)
        if (keep(*list[i])) objects.push_back(i);
    // The texts once: they size the columns and fill them.
    std::vector<std::string> texts;
    texts.reserve(objects.size() * shown.size());
    for (size_t i : objects)
        for (size_t c : shown) texts.push_back(cell(*list[i], c));
    std::optional<size_t> clicked;
    const ImGuiTableFlags flags = ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg |
                                  ImGuiTableFlags_ScrollX | ImGuiTableFlags_ScrollY |
                                  ImGuiTableFlags_SizingFixedFit;
    if (ImGui::BeginTable(id, int(shown.size()), flags)) {
        ImGui::TableSetupScrollFreeze(1, 1);
        // Each column as wide as its caption or its widest cell, at least 50.
        const float pad = 2 * ImGui::GetStyle().CellPadding.x + 4;
        for (size_t k = 0; k < shown.size(); ++k) {
            float width = std::max(50.0f, ImGui::CalcTextSize(columns[shown[k]].Caption).x + pad);
            for (size_t r = 0; r < objects.size(); ++r)
                width = std::max(width,
                                 ImGui::CalcTextSize(texts[r * shown.size() + k].c_str()).x + pad);
            ImGui::TableSetupColumn(columns[shown[k]].Caption, ImGuiTableColumnFlags_WidthFixed,
                                    width);
        }
        ImGui::TableHeadersRow();
        for (size_t r = 0; r < objects.size(); ++r) {
            ImGui::TableNextRow();
            for (size_t k = 0; k < shown.size(); ++k) {
                ImGui::TableSetColumnIndex(int(k));
                const std::string& text = texts[r * shown.size() + k];
                if (k == 0) {
                    ImGui::PushID(int(r));
                    if (ImGui::Selectable(text.c_str(), false,
                                          ImGuiSelectableFlags_SpanAllColumns)) {
                        clicked = objects[r];
                    }
                    probe::LastItem("row", text);
                    ImGui::PopID();
                } else {
                    // Centred in its column.
                    const float w = ImGui::CalcTextSize(text.c_str()).x;
                    const float room = ImGui::GetContentRegionAvail().x;
                    if (room > w) ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (room - w) / 2);
                    ImGui::TextUnformatted(text.c_str());
                }
            }
        }
        ImGui::EndTable();
    }
    return clicked;
}

}  // namespace

void TSKIStatsWindow::DrawLifts(const TSKIEngine& engine, TResult& result) {
    static const std::vector<TColumn> columns = {
        {"Name"},         {"Status"},        {"Type"},      {"Queue"},
        {"Ticket price"}, {"Running cost"},  {"Income"},    {"Expence", "Expense"},
        {"Balance"},      {"Too expensive"}, {"Customers"}, {"Service quality"}};
    result.OpenLift = ReportList(
        "lifts", columns, liftColumns_, engine.Sections,
        [](const TSKISection& s) { return s.IsLift(); },
        [&](const TSKISection& s, size_t c) -> std::string {
            switch (c) {
                case 0:
                    return s.Name.empty() ? std::string("(lift)") : s.Name;
                case 1:
                    return TSKISection::StatusText(s.Status);
                case 2:
                    return s.Type().DisplayName.empty() ? s.Type().Name : s.Type().DisplayName;
                case 3:
                    return std::to_string(s.QueueLength);
                case 4:
                    return FormatMoney(s.TicketPrice);
                case 5:
                    return FormatMoney(s.RunningCost);
                case 6:
                    return FormatMoney(s.TotalIncome);
                case 7:
                    return FormatMoney(-s.TotalExpense);
                case 8:
                    return FormatMoney(s.TotalIncome - s.TotalExpense);
                case 9:
                    return std::to_string(s.TooExpensiveCount);
                case 10:
                    return std::to_string(s.CustomersServed);
                default:
                    return Fixed2(LiftQuality(engine, s));
            }
        });
}

void TSKIStatsWindow::DrawBuildings(const TSKIEngine& engine, TResult& result) {
    static const std::vector<TColumn> columns = {{"Type"},           {"Status"},
                                                 {"Service cost"},   {"Running cost"},
                                                 {"Income"},         {"Expence", "Expense"},
                                                 {"Balance"},        {"Too expensive"},
                                                 {"Customers"},      {"Ocupancy", "Occupancy"},
                                                 {"Service quality"}};
    ImGui::Checkbox("Only restaurants", &onlyRestaurants_);
    result.OpenBuilding = ReportList(
        "buildings", columns, buildingColumns_, engine.Buildings,
        [&](const TSKIBuilding& b) { return !onlyRestaurants_ || IsRestaurantType(b.Type); },
        [](const TSKIBuilding& b, size_t c) -> std::string {
            const TSKIBuildingParams& p = b.Params();
            switch (c) {
                case 0:
                    return p.Name;
                case 1:
                    return b.Open ? "Open" : "Closed";
                case 2:
                    return FormatMoney(b.ServicePrice);
                case 3:
                    return FormatMoney(p.RunningCost);
                case 4:
                    return FormatMoney(b.TotalIncome);
                case 5:
                    return FormatMoney(-int32_t(b.TotalExpense));
                case 6:
                    return FormatMoney(int32_t(b.TotalIncome) - int32_t(b.TotalExpense));
                case 7:
                    return std::to_string(b.TooExpensiveCount);
                case 8:
                    return std::to_string(b.CustomersServed);
                case 9:
                    return std::to_string(b.Occupants) + " / " + std::to_string(p.Capacity);
                default:
                    return Fixed2(p.ServiceQuality + b.UpgradeBonus);
            }
        });
}

void TSKIStatsWindow::DrawFinance(const TSKIEngine& engine) {
    ImGui::Text("Cash: %s", FormatMoney(engine.Park.ParkCash).c_str());
    ImGui::SameLine(0, 30);
    if (ImGui::Button(allTimes_ ? "Time frame: all times" : "Time frame: last hour"))
        allTimes_ = !allTimes_;
    static const char* const kRows[kFinanceRows] = {"Lifts",     "Services",  "Restaurants",
                                                    "Bank loan", "Marketing", "Ecology",
                                                    "Rewards",   "",          "Total"};
    const TSKIFinanceTable t = FinanceTable(engine, allTimes_);
    if (ImGui::BeginTable(
            "finance", 5,
            ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg | ImGuiTableFlags_SizingStretchSame)) {
        for (const char* c : {"", "Income", "Expence", "Balance", "Construction"})
            ImGui::TableSetupColumn(c);
        ImGui::TableHeadersRow();
        for (int r = 0; r < kFinanceRows; ++r) {
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            ImGui::TextUnformatted(kRows[r]);
            for (int c = 0; c < kFinanceColumns; ++c) {
                ImGui::TableSetColumnIndex(c + 1);
                const std::string text = Money(t[size_t(r)][size_t(c)]);
                const float w = ImGui::CalcTextSize(text.c_str()).x;
                ImGui::SetCursorPosX(ImGui::GetCursorPosX() + ImGui::GetContentRegionAvail().x - w);
                ImGui::TextUnformatted(text.c_str());
            }
        }
        ImGui::EndTable();
    }
    ImGui::Spacing();
    ImGui::TextUnformatted("Bank loan");
    if (stats::BeginFigures("loan")) {
        using stats::Figure;
        Figure("Interest:", std::to_string(engine.Profile.LoanInterest) + " %");
        Figure("Loan:", FormatMoney(engine.Park.ParkLoan));
        Figure("Daily payment:", FormatMoney(engine.Park.ParkLoanInterest));
        Figure("Loan limit:", FormatMoney(engine.Profile.LoanLimit));
        ImGui::EndTable();
    }
    probe::Value("loan", double(engine.Park.ParkLoan));
    const std::string take = "Take " + FormatMoney(5000), repay = "Repay " + FormatMoney(5000);
    for (int k = 0; k < 2; ++k) {
        const TSKIPlayerAction action = k == 0 ? TakeLoanAction(5000) : RepayLoanAction(5000);
        const TSKIActionCheck check = action.Check(engine);
        if (k) ImGui::SameLine();
        ImGui::BeginDisabled(!check.Ok);
        if (ImGui::Button((k == 0 ? take : repay).c_str())) pending_.push_back(action);
        ImGui::EndDisabled();
        probe::LastItem("button", k == 0 ? take : repay, check.Ok);
        if (!check.Ok && ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled))
            ImGui::SetTooltip("%s", check.Text.c_str());
    }
}

const char* MarketingReaderCaption(int reader) {
    // The buttons show their captions as they stand: one ampersand is one on the screen.
    static const char* const kReaders[3] = {"Kids & school magazines", "Normal newspaper",
                                            "Sports magazines"};
    return reader >= 1 && reader <= 3 ? kReaders[reader - 1] : "";
}

void TSKIStatsWindow::DrawMarketing(const TSKIEngine& engine) {
    const char* heading = "Marketing campaign - press start to begin";
    std::string confirm;
    if (marketingWarning_) {
        heading = "Marketing campaign - Warning: not enough money!";
    } else if (marketingStep_ == 1) {
        heading = "Marketing campaign - select type of readers to target (poor or rich customers)";
    } else if (marketingStep_ == 2) {
        heading =
            "Marketing campaign - select type of readers to target (beginners or skilled skiers)";
    } else if (marketingStep_ == 3) {
        confirm = "Marketing campaign - confirm your selection. Price: " +
                  FormatMoney(MarketingPrice(engine, priceType_));
        heading = confirm.c_str();
    }
    ImGui::TextWrapped("%s", heading);
    const bool busy = marketingStep_ > 0 || marketingWarning_;
    if (ImGui::Button(busy ? "Reset" : "Start")) {
        marketingStep_ = busy ? 0 : 1;
        marketingWarning_ = false;
    }
    probe::LastItem("button", busy ? "Reset" : "Start");
    if (marketingStep_ == 1) {
        static const char* const kPrices[3] = {"Cheap", "Normal", "Exclusive"};
        for (int p = 1; p <= 3; ++p) {
            ImGui::SameLine();
            ImGui::BeginDisabled(!MarketingPriceOffered(engine, p));
            if (ImGui::Button(kPrices[p - 1])) {
                priceType_ = p;
                marketingWarning_ = !MarketingPriceWarning(engine, p).empty();
                marketingStep_ = marketingWarning_ ? 0 : 2;
            }
            ImGui::EndDisabled();
            probe::LastItem("button", kPrices[p - 1], MarketingPriceOffered(engine, p));
        }
    } else if (marketingStep_ == 2) {
        for (int r = 1; r <= 3; ++r) {
            ImGui::SameLine();
            if (ImGui::Button(MarketingReaderCaption(r))) readerType_ = r, marketingStep_ = 3;
            probe::LastItem("button", MarketingReaderCaption(r));
        }
    } else if (marketingStep_ == 3) {
        ImGui::SameLine();
        if (ImGui::Button("Confirm")) {
            // The cash is tested again: short of it, the warning instead of the campaign.
            marketingWarning_ = !MarketingPriceWarning(engine, priceType_).empty();
            if (!marketingWarning_) pending_.push_back(MarketingAction(priceType_, readerType_));
            marketingStep_ = 0;
        }
        probe::LastItem("button", "Confirm");
    }
    ImGui::Separator();
    ImGui::TextUnformatted("PR campaign");
    const int32_t price = engine.Profile.PRCampPrice;
    if (stats::BeginFigures("pr")) {
        stats::Figure("Popularity rating points:",
                      std::to_string(std::lround(engine.Park.ParkPopularity)));
        stats::Figure("Price:", FormatMoney(price));
        ImGui::EndTable();
    }
    ImGui::TextWrapped("%s", price <= 0 ? "You can not run PR campaign. Start 'Marketing mission'."
                             : engine.Park.ParkCash < price
                                 ? "Not enough money."
                                 : "Running PR campaign will add 10 rating points to popularity.");
    ImGui::BeginDisabled(price <= 0 || engine.Park.ParkCash < price);
    if (ImGui::Button("Run PR campaign")) pending_.push_back(PRCampaignAction());
    ImGui::EndDisabled();
    probe::LastItem("button", "Run PR campaign", price > 0 && engine.Park.ParkCash >= price);
    ImGui::Separator();
    ImGui::TextUnformatted("Friends");
    ImGui::Text("Friends: %d", engine.Profile.Friends);
    ImGui::TextWrapped("%s", engine.Profile.Friends == 0 ? "You do not have any friends."
                             : !engine.Profile.FriendsEnabled
                                 ? "Your friends are not welcome this time. They will not come."
                                 : "Friends come every morning regardless what the park rating or "
                                   "maximum parking capacity is.");
    bool welcome = engine.Profile.FriendsEnabled;
    if (ImGui::Checkbox("Friends welcome", &welcome))
        pending_.push_back(SetFriendsWelcomeAction(welcome));
}

void TSKIStatsWindow::DrawAchievements(const TSKIEngine& engine) {
    const TSKIProfileTerms& t = engine.Profile;
    if (!ImGui::BeginTable(
            "achievements", 3,
            ImGuiTableFlags_RowBg | ImGuiTableFlags_Borders | ImGuiTableFlags_SizingFixedFit))
        return;
    auto row = [](const std::string& name, const std::string& state, const std::string& note) {
        ImGui::TableNextRow();
        ImGui::TableSetColumnIndex(0);
        ImGui::TextUnformatted(name.c_str());
        ImGui::TableSetColumnIndex(1);
        ImGui::TextUnformatted(state.c_str());
        ImGui::TableSetColumnIndex(2);
        ImGui::TextUnformatted(note.c_str());
    };
    if (t.Friends > 0) {
        row("Friends", t.FriendsEnabled ? std::to_string(t.Friends) + " friends" : "Disabled",
            "New friends will come every morning to enjoy your wonderfull ski park.");
    }
    if (t.LoanLimit > 0) {
        row("Bank loan", "Enabled", "You can borrow money from bank.");
        row("Loan limit", FormatMoney(t.LoanLimit),
            "Your bank has approved increasing maximum limit for your loan.");
        if (t.LoanInterest < 9) {
            row("Bank discount", std::to_string(t.LoanInterest) + " %",
                "Your bank has approved loan interest rate discount.");
        }
    }
    if (t.MarketingPriceCheap > 0) {
        row("Cheap marketing", std::to_string(t.MarketingPriceCheap) + ".-",
            "You can run cheap marketing campaign to attract poor customers.");
    }
    if (t.MarketingPriceNormal > 0) {
        row("Normal marketing", std::to_string(t.MarketingPriceNormal) + ".-",
            "You can run normal marketing campaign to attract normal customers..");
    }
    if (t.MarketingPriceVIP > 0) {
        row("VIP marketing", std::to_string(t.MarketingPriceVIP) + ".-",
            "You can run exclusive marketing campaign to attract rich customers..");
    }
    if (t.PRCampPrice > 0) {
        row("PR campaign", std::to_string(t.PRCampPrice) + ".-",
            "You can run PR campaign to improve park reputation in public.");
    }
    for (size_t k = 0; k < t.UnlockedLifts.size(); ++k) {
        if (!t.UnlockedLifts[k]) continue;
        const TSKILiftParams& p = engine.Params.Lifts[k];
        const std::string name = p.DisplayName.empty() ? p.Name : p.DisplayName;
        row(name, "Unlocked", "You can build " + name + ".");
    }
    for (size_t k = 0; k < t.UnlockedBuildings.size(); ++k) {
        if (!t.UnlockedBuildings[k]) continue;
        const std::string& name = engine.Params.Buildings[k].Name;
        row(name, "Unlocked", "You can build " + name + ".");
    }
    ImGui::EndTable();
}

}  // namespace vallorn
