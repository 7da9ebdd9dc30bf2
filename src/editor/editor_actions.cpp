// The editor's changes as player actions, and the lines that name them.
#include "editor/editor_actions.h"

#include <array>
#include <cmath>
#include <utility>

#include "base/number_format.h"
#include "editor/cheats.h"
#include "editor/objective_editor.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "engine/snow.h"

namespace vallorn {

namespace {

using Check = TSKIActionCheck;
using Result = TSKIActionResult;

// A word of an action's name: quoted (with \ before " and \) when empty or holding blanks.
std::string Word(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t\"\\#") == std::string::npos) return text;
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            q += '\\';
            q += c;
        } else if (c == '\n') {
            q += "\\n";
        } else {
            q += c;
        }
    }
    return q + "\"";
}

std::string Cell(int i, int j) {
    return std::to_string(i) + " " + std::to_string(j);
}

bool InGrid(const TSKIEngine& e, int i, int j) {
    return e.HasGrid() && TSKIWorld::CellInGrid(i, j);
}

Check NeedsCell(const TSKIEngine& e, int i, int j, const char* what) {
    return InGrid(e, i, j) ? Check::Allowed(what) : Check::Refused("No such cell");
}

// An action that always passes its check and changes the park through `apply`.
template <class F>
TSKIPlayerAction Always(std::string name, std::string text, F apply) {
    return {std::move(name), [text](const TSKIEngine&) { return Check::Allowed(text); },
            [apply](TSKIEngine& e, std::string&) {
                apply(e);
                return Result::Done;
            }};
}

// A file choice: the editor function's error is the action's reason.
template <class F>
TSKIPlayerAction FileChoice(std::string name, std::string text, F apply) {
    return {std::move(name), [text](const TSKIEngine&) { return Check::Allowed(text); },
            [apply](TSKIEngine& e, std::string& reason) {
                std::string error;
                if (apply(e, error)) return Result::Done;
                reason = error.empty() ? "The level could not be changed" : error;
                return Result::Failed;
            }};
}

struct TValueWord {
    TEditorValue Value;
    const char* Word;
};
constexpr std::array<TValueWord, 7> kValueWords = {{{TEditorValue::Cash, "cash"},
                                                    {TEditorValue::Time, "time"},
                                                    {TEditorValue::SpawnSpeed, "spawn-speed"},
                                                    {TEditorValue::MaxSkiers, "max-skiers"},
                                                    {TEditorValue::ScaleXZ, "scale-xz"},
                                                    {TEditorValue::ScaleY, "scale-y"},
                                                    {TEditorValue::BlockThreshold, "threshold"}}};

struct TCommandWord {
    TEditorCommand Command;
    const char* Word;
    void (*Apply)(TSKIEngine&);
};
const std::array<TCommandWord, 9> kCommandWords = {{
    {TEditorCommand::DeleteAllLandmarks, "delete-landmarks",
     [](TSKIEngine& e) { DeleteAllLandmarks(e); }},
    {TEditorCommand::ForgiveEnviroDamage, "forgive-damage", ForgiveEnviroDamage},
    {TEditorCommand::ForgetAllCosts, "forget-costs", ForgetAllCosts},
    {TEditorCommand::EndDay, "end-day", DayChange},
    {TEditorCommand::KillAllSkiers, "kill-skiers", KillAllSkiers},
    {TEditorCommand::GiveCash, "give-cash", GiveCash},
    {TEditorCommand::KillAllGondolas, "kill-gondolas", KillAllGondolas},
    {TEditorCommand::CutAllTrees, "cut-trees", CutAllTrees},
    {TEditorCommand::DeleteAllHouses, "delete-houses", DeleteAllHouses},
}};

constexpr std::array<const char*, 3> kFloodWords = {"block", "free", "leave"};

// The objective fields and how each is set from its value.
using TObjectiveSetter = bool (*)(TSKIObjectiveEditor&, const std::string& value, int slot);
struct TObjectiveField {
    const char* Word;
    TObjectiveSetter Set;
};
bool OnWord(const std::string& v) {
    return v == "on";
}
int IntOr(const std::string& v, int fallback) {
    const auto n = ParseInteger(v);
    return n && *n >= -1000000 && *n <= 1000000 ? int(*n) : fallback;
}
const std::array<TObjectiveField, 18> kObjectiveFields = {{
    {"add", [](TSKIObjectiveEditor& x, const std::string&, int) { return x.Add(), true; }},
    {"delete", [](TSKIObjectiveEditor& x, const std::string&, int) { return x.Delete(); }},
    {"delete-all",
     [](TSKIObjectiveEditor& x, const std::string&, int) { return x.DeleteAll(), true; }},
    {"reset", [](TSKIObjectiveEditor& x, const std::string&, int) { return x.Reset(), true; }},
    {"type",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetType(IntOr(v, -1)); }},
    {"name", [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetName(v); }},
    {"value", [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetValue(v); }},
    {"time-goal",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetTimeGoal(v); }},
    {"place",
     [](TSKIObjectiveEditor& x, const std::string& v, int) {
         const size_t blank = v.find(' ');
         if (blank == std::string::npos) return false;
         return x.SetPlace(IntOr(v.substr(0, blank), 0), IntOr(v.substr(blank + 1), 0));
     }},
    {"description",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetDescription(v); }},
    {"active",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetActive(OnWord(v)); }},
    {"primary",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetPrimary(OnWord(v)); }},
    {"reversible",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetReversible(OnWord(v)); }},
    {"unlock-objective", [](TSKIObjectiveEditor& x, const std::string& v,
                            int slot) { return x.SetUnlockObjective(slot, v); }},
    {"unlock-mission", [](TSKIObjectiveEditor& x, const std::string& v,
                          int slot) { return x.SetUnlockMission(slot, v); }},
    {"reward",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetReward(IntOr(v, -1)); }},
    {"reward-value",
     [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetRewardValue(v); }},
    {"help", [](TSKIObjectiveEditor& x, const std::string& v, int) { return x.SetHelp(v); }},
}};

const TObjectiveField* FindField(const std::string& word) {
    for (const TObjectiveField& f : kObjectiveFields)
        if (word == f.Word) return &f;
    return nullptr;
}

bool ListWide(const std::string& field) {
    return field == "add" || field == "delete-all" || field == "reset";
}
bool Slotted(const std::string& field) {
    return field == "unlock-objective" || field == "unlock-mission";
}

}  // namespace

TSKIPlayerAction EditorOpenAction(bool open) {
    return Always(std::string("editor ") + (open ? "open" : "close"),
                  open ? "Open the editor" : "Close the editor",
                  [open](TSKIEngine& e) { e.EditorOpen = open; });
}

TSKIPlayerAction EditorValueAction(TEditorValue which, const std::string& text) {
    const char* word = "cash";
    for (const TValueWord& w : kValueWords)
        if (w.Value == which) word = w.Word;
    return Always(std::string("editor ") + word + " " + Word(text), "Set " + std::string(word),
                  [which, text](TSKIEngine& e) { SetEditorValue(e, which, text); });
}

TSKIPlayerAction NewLevelAction(const std::filesystem::path& picture, const std::string& name) {
    return FileChoice("editor new-level " + Word(picture.string()) + " " + Word(name), "New level",
                      [picture, name](TSKIEngine& e, std::string& error) {
                          return NewLevelFromHeightMap(e, picture, name, &error);
                      });
}

TSKIPlayerAction ChangeHeightMapAction(const std::filesystem::path& picture) {
    return FileChoice("editor height-map " + Word(picture.string()), "Change the height map",
                      [picture](TSKIEngine& e, std::string& error) {
                          return ChangeHeightMap(e, picture, &error);
                      });
}

TSKIPlayerAction ChangeGroundPictureAction(const std::filesystem::path& picture, bool snow) {
    return FileChoice(std::string("editor ") + (snow ? "snow-texture " : "ground-texture ") +
                          Word(picture.string()),
                      "Change the texture", [picture, snow](TSKIEngine& e, std::string& error) {
                          return ChangeGroundPicture(e, picture, snow, &error);
                      });
}

TSKIPlayerAction LoadEditorLevelAction(const std::string& name, bool addOn) {
    return FileChoice("editor load-level " + Word(name) + (addOn ? "" : " shipped"), "Load level",
                      [name, addOn](TSKIEngine& e, std::string& error) {
                          const TSKILevelLoadResult r = LoadLevelFile(e, name, addOn);
                          e.Busy = false;
                          error = r.error;
                          return r.ok();
                      });
}

TSKIPlayerAction ImportRoadAction(const std::filesystem::path& picture) {
    return FileChoice("editor import-road " + Word(picture.string()), "Import road",
                      [picture](TSKIEngine& e, std::string& error) {
                          return ImportRoad(e, picture, &error) >= 0;
                      });
}

TSKIPlayerAction SaveLevelAction(const std::string& name) {
    return FileChoice(
        "editor save-level " + Word(name), "Save level",
        [name](TSKIEngine& e, std::string& error) { return SaveLevelFile(e, name, &error); });
}

TSKIPlayerAction SaveMissionAction(const std::string& name) {
    return FileChoice(
        "editor save-mission " + Word(name), "Save game",
        [name](TSKIEngine& e, std::string& error) { return SaveMission(e, name, &error); });
}

TSKIPlayerAction PaintDisplayAction(TSKITool tool) {
    const char* word = tool == TSKITool::BlockBrush || tool == TSKITool::UnblockBrush ||
                               tool == TSKITool::RoadBrush
                           ? "blocked"
                       : tool == TSKITool::Trees || tool == TSKITool::RemoveTrees   ? "trees"
                       : tool == TSKITool::SnowBrush || tool == TSKITool::BareBrush ? "snow"
                                                                                    : "";
    return Always(std::string("editor show ") + (*word ? word : "nothing"), "Show",
                  [w = std::string(word)](TSKIEngine& e) {
                      if (w == "blocked") {
                          e.Display().SetLayers(kDisplayBlocked);
                      } else if (w == "trees") {
                          ShowLayer(e.Display(), kDisplayTrees, true);
                      } else if (w == "snow") {
                          ShowLayer(e.Display(), kDisplayTrees, false);
                          ShowLayer(e.Display(), kDisplaySnow, true);
                          RebuildSnowOverlay(e);
                      }
                      RefreshTerrainView(e);
                  });
}

TSKIPlayerAction EditorCommandAction(TEditorCommand command) {
    for (const TCommandWord& w : kCommandWords) {
        if (w.Command != command) continue;
        return Always(std::string("editor ") + w.Word, w.Word, w.Apply);
    }
    return {"editor", [](const TSKIEngine&) { return Check::Refused("No such editor command"); },
            [](TSKIEngine&, std::string&) { return Result::Failed; }};
}

TSKIPlayerAction UnlockAllAction(TSKIProfile* profile) {
    return Always("editor unlock-all", "Unlock all", [profile](TSKIEngine& e) {
        TSKIProfile none;
        UnlockAll(e, profile ? *profile : none);
    });
}

TSKIPlayerAction AddSkiersAction(float x, float z) {
    return Always(
        "editor add-skiers " + FormatReal(x) + " " + FormatReal(z), "Add skiers",
        [x, z](TSKIEngine& e) { SpawnSkiers(e, 10, TSKIVector(x, 0, z, 1), 10, 10, true); });
}

TSKIPlayerAction EraseRecordAction(int slope) {
    return Always("editor erase-record " + std::to_string(slope), "Erase record",
                  [slope](TSKIEngine& e) { EraseRecord(e, slope); });
}

TSKIPlayerAction ReduceTreesAction(int32_t target) {
    return Always("editor reduce-trees " + std::to_string(target), "Reduce trees",
                  [target](TSKIEngine& e) { ReduceTrees(e, target); });
}

TSKIPlayerAction ResetBlockedAction(int grain) {
    return {"editor reset-blocked " + std::to_string(grain),
            [grain](const TSKIEngine&) {
                return grain >= 0 && grain <= 18 ? Check::Allowed("Reset blocked")
                                                 : Check::Refused("The grain runs from 0 to 18");
            },
            [grain](TSKIEngine& e, std::string&) {
                ResetBlocked(e, grain);
                return Result::Done;
            }};
}

TSKIPlayerAction SnowPeaksAction(int i, int j) {
    return {"editor snow-peaks " + Cell(i, j),
            [i, j](const TSKIEngine& e) { return NeedsCell(e, i, j, "Snow peaks"); },
            [i, j](TSKIEngine& e, std::string&) {
                SnowPeaks(e, e.Cell(i, j).Height);
                return Result::Done;
            }};
}

TSKIPlayerAction FloodSnowAction(int i, int j) {
    return Always("editor flood-snow " + Cell(i, j), "Flood snow",
                  [i, j](TSKIEngine& e) { FloodSnow(e, i, j); });
}

TSKIPlayerAction FloodBlockedAction(int i, int j, TFloodBlocked what) {
    return Always(
        std::string("editor flood-blocked ") + Cell(i, j) + " " + kFloodWords[size_t(what)],
        "Flood blocked", [i, j, what](TSKIEngine& e) { FloodBlocked(e, i, j, what); });
}

TSKIPlayerAction ObjectiveAction(int index, const std::string& field, const std::string& value,
                                 int slot) {
    std::string name = "objective " + std::to_string(index) + " " + field;
    if (Slotted(field)) name += " " + std::to_string(slot);
    if (!value.empty() || (!ListWide(field) && field != "delete")) name += " " + Word(value);
    const TObjectiveField* f = FindField(field);
    return {name,
            [f, index, slot, field](const TSKIEngine& e) {
                if (!f) return Check::Refused("No such objective field");
                if (!ListWide(field) && (index < 0 || size_t(index) >= e.Objectives.size()))
                    return Check::Refused("No such objective");
                if (slot < 0 || slot >= kObjectiveUnlocks) return Check::Refused("No such slot");
                return Check::Allowed("Change the objectives");
            },
            [f, index, slot, value, field](TSKIEngine& e, std::string& reason) {
                TSKIObjectiveEditor editor(e);
                editor.Select(index);
                std::string error;
                if (field == "delete" ? editor.Delete(&error) : f->Set(editor, value, slot))
                    return Result::Done;
                reason = error.empty() ? "The objective was not changed" : error;
                return Result::Failed;
            }};
}

std::optional<TSKIPlayerAction> EditorActionFromLine(const std::vector<std::string>& words,
                                                     std::string* error) {
    auto fail = [error](const std::string& why) -> std::optional<TSKIPlayerAction> {
        if (error) *error = why;
        return std::nullopt;
    };
    auto number = [&](size_t k, int64_t lo, int64_t hi) -> std::optional<int> {
        if (k >= words.size()) return std::nullopt;
        const auto n = ParseInteger(words[k]);
        if (!n || *n < lo || *n > hi) return std::nullopt;
        return int(*n);
    };
    const size_t n = words.size();
    if (n >= 3 && words[0] == "objective") {
        const auto index = number(1, -1, 1000000);
        if (!index || !FindField(words[2])) return fail("objective INDEX FIELD [SLOT] [VALUE]");
        size_t next = 3;
        int slot = 0;
        if (Slotted(words[2])) {
            const auto s = number(next++, 0, kObjectiveUnlocks - 1);
            if (!s) return fail("an unlock names its slot 0..4 before the name");
            slot = *s;
        }
        std::string value;
        for (size_t k = next; k < n; ++k) value += (value.empty() ? "" : " ") + words[k];
        return ObjectiveAction(*index, words[2], value, slot);
    }
    if (n < 2 || words[0] != "editor") return fail("not an editor line");
    const std::string& c = words[1];
    auto cell = [&](auto make) -> std::optional<TSKIPlayerAction> {
        const auto i = number(2, 0, kGridSize), j = number(3, 0, kGridSize);
        if (!i || !j || n != 4) return fail("editor " + c + " I J");
        return make(*i, *j);
    };
    if (n == 2 && (c == "open" || c == "close")) return EditorOpenAction(c == "open");
    for (const TValueWord& w : kValueWords)
        if (c == w.Word) {
            if (n != 3) return fail("editor " + c + " TEXT");
            return EditorValueAction(w.Value, words[2]);
        }
    for (const TCommandWord& w : kCommandWords)
        if (c == w.Word) {
            if (n != 2) return fail("editor " + c + " takes nothing more");
            return EditorCommandAction(w.Command);
        }
    if (c == "unlock-all" && n == 2) return UnlockAllAction(nullptr);
    if (c == "new-level" && n == 4) return NewLevelAction(words[2], words[3]);
    if (c == "height-map" && n == 3) return ChangeHeightMapAction(words[2]);
    if ((c == "snow-texture" || c == "ground-texture") && n == 3)
        return ChangeGroundPictureAction(words[2], c == "snow-texture");
    if (c == "load-level" && (n == 3 || (n == 4 && words[3] == "shipped")))
        return LoadEditorLevelAction(words[2], n == 3);
    if (c == "import-road" && n == 3) return ImportRoadAction(words[2]);
    if (c == "save-level" && n == 3) return SaveLevelAction(words[2]);
    if (c == "save-mission" && n == 3) return SaveMissionAction(words[2]);
    if (c == "show" && n == 3) {
        const TSKITool tool = words[2] == "blocked" ? TSKITool::BlockBrush
                              : words[2] == "trees" ? TSKITool::Trees
                              : words[2] == "snow"  ? TSKITool::SnowBrush
                                                    : TSKITool::None;
        if (tool != TSKITool::None || words[2] == "nothing") return PaintDisplayAction(tool);
    }
    if (c == "add-skiers" && n == 4) {
        const auto x = ParseReal(words[2]), z = ParseReal(words[3]);
        if (x && z && std::abs(*x) <= 1e6 && std::abs(*z) <= 1e6)
            return AddSkiersAction(float(*x), float(*z));
    }
    if (c == "snow-peaks") return cell(SnowPeaksAction);
    if (c == "flood-snow") return cell(FloodSnowAction);
    if (c == "erase-record" && n == 3) {
        if (const auto s = number(2, -1, 1000000)) return EraseRecordAction(*s);
    }
    if (c == "reduce-trees" && n == 3) {
        if (const auto t = number(2, 0, 1000000000)) return ReduceTreesAction(*t);
    }
    if (c == "reset-blocked" && n == 3) {
        if (const auto g = number(2, 0, 18)) return ResetBlockedAction(*g);
    }
    if (c == "flood-blocked" && n == 5) {
        const auto i = number(2, 0, kGridSize), j = number(3, 0, kGridSize);
        for (size_t k = 0; k < kFloodWords.size(); ++k)
            if (i && j && words[4] == kFloodWords[k])
                return FloodBlockedAction(*i, *j, TFloodBlocked(k));
    }
    return fail("no editor action \"" + c + "\" with " + std::to_string(n - 2) + " words");
}

}  // namespace vallorn
