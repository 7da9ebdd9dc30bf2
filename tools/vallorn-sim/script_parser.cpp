#include "script_parser.h"

#include <map>

#include "base/number_format.h"
#include "editor/editor_actions.h"

namespace vallorn::sim {

namespace {

enum class Arg { Int, Real, Text, Choice, Lift, Building };

struct ArgRule {
    Arg kind;
    const char* name;
    int64_t min = 0, max = 0;        // Int and Real
    std::vector<std::string> words;  // Choice
    bool optional = false;
};

ArgRule Int(const char* name, int64_t min, int64_t max, bool optional = false) {
    return {Arg::Int, name, min, max, {}, optional};
}
// The runner takes reals as 32-bit floats: each has a range it fits in.
ArgRule Real(const char* name, int64_t min, int64_t max, bool optional = false) {
    return {Arg::Real, name, min, max, {}, optional};
}
// A world coordinate: far beyond any map, yet well inside a float.
ArgRule Coordinate(const char* name) {
    return Real(name, -1000000, 1000000);
}
ArgRule Cell(const char* name) {
    return Int(name, 0, 512);
}
ArgRule Index(const char* name) {
    return Int(name, 0, 1000000);
}
ArgRule Choice(const char* name, std::vector<std::string> words, bool optional = false) {
    return {Arg::Choice, name, 0, 0, std::move(words), optional};
}
ArgRule Of(Arg kind, const char* name, bool optional = false) {
    return {kind, name, 0, 0, {}, optional};
}
ArgRule OnOff() {
    return Choice("on|off", {"on", "off"});
}

const std::vector<std::string> kLiftNames = {"platter",  "tbar", "double", "quad",
                                             "cablecar", "tram", "six"};
const std::vector<std::string> kBuildingNames = {
    "snowcannon", "stall",   "rescue",      "snowbar", "patrol",      "hospital", "garage",
    "cot",        "shelter", "sightseeing", "parking", "selfservice", "kiosk"};
// The quantities `expect` compares.
const std::vector<std::string> kQuantities = {
    "cash",   "loan",   "lifts", "slopes", "buildings", "skiers",     "tool",  "riders",
    "served", "income", "trees", "ticks",  "day",       "popularity", "speed", "race-time"};
const std::vector<std::string> kOps = {"==", "!=", "<", "<=", ">", ">="};

const std::map<std::string, std::vector<ArgRule>>& Commands() {
    static const std::map<std::string, std::vector<ArgRule>> table = {
        // input
        {"cursor", {Coordinate("x"), Coordinate("z")}},
        {"cell", {Cell("i"), Cell("j")}},
        {"click", {}},
        {"hold", {Choice("button or key", {"left", "shift", "w", "s", "a", "d", "ctrl"}), OnOff()}},
        {"key", {Choice("key", {"backspace", "escape", "1", "2", "3", "4", "5", "6", "7", "8"})}},
        {"menu", {Of(Arg::Text, "caption path")}},
        {"answer", {Choice("yes|no", {"yes", "no"}), Int("count", 1, 1000, true)}},
        {"wait", {Int("count", 0, 1000000000), Choice("unit", {"ticks", "frames", "hours"}, true)}},
        {"expect-ok", {OnOff()}},
        // single objects and finance
        {"lift-price", {Index("lift"), Int("price", 0, 65535)}},
        {"building-price", {Index("building"), Int("price", 0, 65535)}},
        {"lift-open", {Index("lift"), OnOff()}},
        {"building-open", {Index("building"), OnOff()}},
        {"lift-upgrade", {Index("lift")}},
        {"building-upgrade", {Index("building")}},
        {"loan", {Choice("take|repay", {"take", "repay"}), Int("amount", 1, 2000000000)}},
        {"marketing",
         {Choice("price", {"cheap", "normal", "exclusive"}),
          Choice("readers", {"beginners", "skiers", "skilled"})}},
        {"pr", {}},
        {"speed", {Choice("0|1|2|4", {"0", "1", "2", "4"})}},
        // construction
        {"build-lift",
         {Cell("lower i"), Cell("lower j"), Cell("upper i"), Cell("upper j"),
          Of(Arg::Lift, "lift type")}},
        {"slope-start", {Cell("i"), Cell("j")}},
        {"slope-node", {Cell("i"), Cell("j")}},
        {"slope-finish", {Cell("i"), Cell("j")}},
        {"building",
         {Of(Arg::Building, "building type"), Cell("i"), Cell("j"),
          Real("direction", -360, 360, true)}},
        {"tree", {Cell("i"), Cell("j")}},
        {"area", {Index("building"), Cell("i"), Cell("j")}},
        {"delete-section", {Index("section")}},
        {"delete-building", {Index("building")}},
        {"replace-lift", {Index("lift"), Of(Arg::Lift, "lift type")}},
        // the player's own skier
        {"race", {Index("slope")}},
    };
    return table;
}

std::string Join(const std::vector<std::string>& words) {
    std::string s;
    for (const auto& w : words) s += (s.empty() ? "" : "|") + w;
    return s;
}

int WordIndex(const std::vector<std::string>& words, const std::string& w) {
    for (size_t k = 0; k < words.size(); ++k) {
        if (words[k] == w) return int(k);
    }
    return -1;
}

// Splits a line into words; false with `error` on an unterminated text. A '#' outside a text
// ends the line.
bool Tokenize(const std::string& line, std::vector<std::string>& words, std::string& text,
              std::string& error) {
    size_t k = 0, end = 0;
    while (k < line.size()) {
        const char c = line[k];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++k;
            continue;
        }
        if (c == '#') break;
        std::string w;
        if (c == '"') {
            ++k;
            bool closed = false;
            while (k < line.size()) {
                if (line[k] == '\\' && k + 1 < line.size()) {
                    const char n = line[k + 1];
                    w += n == 'r' ? '\r' : n == 'n' ? '\n' : n == 't' ? '\t' : n;
                    k += 2;
                } else if (line[k] == '"') {
                    closed = true;
                    ++k;
                    break;
                } else {
                    w += line[k++];
                }
            }
            if (!closed) {
                error = "a text is not closed with \"";
                return false;
            }
        } else {
            while (k < line.size() && line[k] != ' ' && line[k] != '\t' && line[k] != '\r') {
                w += line[k++];
            }
        }
        words.push_back(w);
        end = k;
    }
    const size_t start = line.find_first_not_of(" \t");
    text = start == std::string::npos ? "" : line.substr(start, end - start);
    return true;
}

// A word of the script as an error message quotes it: bytes that are not printable show as
// '?', and a long word is cut.
std::string Quoted(const std::string& w) {
    constexpr size_t kMax = 40;
    std::string q;
    for (size_t k = 0; k < w.size() && k < kMax; ++k) {
        const unsigned char c = static_cast<unsigned char>(w[k]);
        q += c >= 0x20 && c < 0x7f ? char(c) : '?';
    }
    if (w.size() > kMax) q += "...";
    return "'" + q + "'";
}

std::optional<std::string> CheckArg(const ArgRule& rule, const std::string& w) {
    switch (rule.kind) {
        case Arg::Int: {
            const auto n = ParseInteger(w);
            if (!n) return std::string(rule.name) + " must be a whole number, not " + Quoted(w);
            if (*n < rule.min || *n > rule.max) {
                return std::string(rule.name) + " must be from " + std::to_string(rule.min) +
                       " to " + std::to_string(rule.max);
            }
            return std::nullopt;
        }
        case Arg::Real: {
            const auto x = ParseReal(w);
            if (!x) return std::string(rule.name) + " must be a number, not " + Quoted(w);
            if (*x < double(rule.min) || *x > double(rule.max)) {
                return std::string(rule.name) + " must be from " + std::to_string(rule.min) +
                       " to " + std::to_string(rule.max);
            }
            return std::nullopt;
        }
        case Arg::Text:
            return std::nullopt;
        case Arg::Choice:
            if (WordIndex(rule.words, w) < 0) {
                return std::string(rule.name) + " must be one of " + Join(rule.words) + ", not " +
                       Quoted(w);
            }
            return std::nullopt;
        case Arg::Lift:
            if (LiftTypeArg(w) < 0) {
                return "unknown lift type " + Quoted(w) + " (0..6 or " + Join(kLiftNames) + ")";
            }
            return std::nullopt;
        case Arg::Building:
            if (BuildingTypeArg(w) < 0) {
                return "unknown building type " + Quoted(w) + " (0..12 or " + Join(kBuildingNames) +
                       ")";
            }
            return std::nullopt;
    }
    return std::nullopt;
}

// expect text|message|refused "TEXT" | expect done | expect QUANTITY [OP] NUMBER
std::optional<std::string> CheckExpect(const std::vector<std::string>& a) {
    const char* usage =
        "expect needs text|message|refused \"TEXT\", done, or a quantity, a comparison and a "
        "number";
    if (a.empty()) return usage;
    if (a[0] == "text" || a[0] == "message" || a[0] == "refused") {
        if (a.size() != 2) return "expect " + a[0] + " needs one text in quotes";
        return std::nullopt;
    }
    if (a[0] == "done") {
        if (a.size() != 1) return "expect done takes nothing more";
        return std::nullopt;
    }
    if (WordIndex(kQuantities, a[0]) < 0) {
        return "unknown quantity " + Quoted(a[0]) + " (" + Join(kQuantities) + ")";
    }
    if (a.size() != 2 && a.size() != 3) return usage;
    if (a.size() == 3 && WordIndex(kOps, a[1]) < 0) {
        return "unknown comparison " + Quoted(a[1]) + " (" + Join(kOps) + ")";
    }
    if (!ParseReal(a.back())) return "expect " + a[0] + " needs a number, not " + Quoted(a.back());
    return std::nullopt;
}

// The editor's lines are checked by the editor actions' own reader.
std::optional<std::string> CheckEditorLine(const ScriptStep& s) {
    std::vector<std::string> words{s.Command};
    words.insert(words.end(), s.Args.begin(), s.Args.end());
    std::string error;
    if (EditorActionFromLine(words, &error)) return std::nullopt;
    return error;
}

std::optional<std::string> CheckStep(const ScriptStep& s) {
    if (s.Command == "expect") return CheckExpect(s.Args);
    if (s.Command == "editor" || s.Command == "objective") return CheckEditorLine(s);
    const auto& table = Commands();
    const auto it = table.find(s.Command);
    if (it == table.end()) return "unknown command " + Quoted(s.Command);
    const std::vector<ArgRule>& rules = it->second;
    size_t required = 0;
    for (const ArgRule& a : rules) required += a.optional ? 0 : 1;
    if (s.Args.size() < required || s.Args.size() > rules.size()) {
        std::string want;
        for (const ArgRule& a : rules) {
            want += std::string(" ") + (a.optional ? "[" : "") + a.name + (a.optional ? "]" : "");
        }
        return s.Command + " takes" + (want.empty() ? " nothing" : want) + " (" +
               std::to_string(s.Args.size()) + " given)";
    }
    for (size_t k = 0; k < s.Args.size(); ++k) {
        if (auto e = CheckArg(rules[k], s.Args[k])) return s.Command + ": " + *e;
    }
    return std::nullopt;
}

int TypeArg(const std::vector<std::string>& names, const std::string& w) {
    const int byName = WordIndex(names, w);
    if (byName >= 0) return byName;
    const auto n = ParseInteger(w);
    return n && *n >= 0 && *n < int64_t(names.size()) ? int(*n) : -1;
}

}  // namespace

int LiftTypeArg(const std::string& word) {
    return TypeArg(kLiftNames, word);
}

int BuildingTypeArg(const std::string& word) {
    return TypeArg(kBuildingNames, word);
}

int64_t ArgInt(const ScriptStep& step, size_t index) {
    return ParseInteger(step.Args.at(index)).value_or(0);
}

double ArgReal(const ScriptStep& step, size_t index) {
    return ParseReal(step.Args.at(index)).value_or(0);
}

std::vector<std::string> ParseScript(const std::string& text, const std::string& file,
                                     Script& out) {
    out.File = file;
    out.Steps.clear();
    std::vector<std::string> errors;
    size_t start = 0;
    int line = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        const std::string raw = text.substr(start, nl - start);
        start = nl + 1;
        ++line;
        std::vector<std::string> words;
        ScriptStep step;
        step.Line = line;
        std::string error;
        if (raw.find('\0') != std::string::npos) {
            error = "the line holds a NUL byte";
        } else if (Tokenize(raw, words, step.Text, error) && !words.empty()) {
            step.Command = words[0];
            step.Args.assign(words.begin() + 1, words.end());
            if (auto e = CheckStep(step)) error = *e;
        }
        if (!error.empty()) {
            errors.push_back(file + ":" + std::to_string(line) + ": " + error);
        } else if (!words.empty()) {
            out.Steps.push_back(std::move(step));
        }
    }
    return errors;
}

}  // namespace vallorn::sim
