// The profile file: tag lines in brackets, each value on the line after its tag.
#include <algorithm>
#include <cctype>
#include <charconv>

#include "base/atomic_file.h"
#include "base/safe_path.h"
#include "missions/profile.h"

namespace vallorn {

namespace {

constexpr const char* kMissionSeparator = "-------------------";
constexpr size_t kLinesPerMission = 6;

// A text editor may have put a UTF-8 byte order mark before the first tag.
std::string_view WithoutBom(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<int32_t> ParseInt(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

// The lines of one file, looked up by tag.
class TProfileLines {
public:
    explicit TProfileLines(std::string_view text) : lines_(ProfileLines(WithoutBom(text))) {}

    // Index of the first line equal to the tag (any case), or nothing.
    std::optional<size_t> Find(std::string_view tag) const {
        for (size_t k = 0; k < lines_.size(); ++k)
            if (SameIgnoringCase(lines_[k], tag)) return k;
        return std::nullopt;
    }
    // The `n`-th value line after a tag (0: the line right after it), or nothing.
    std::optional<std::string_view> Value(std::string_view tag, size_t n = 0) const {
        const auto at = Find(tag);
        if (!at || *at + 1 + n >= lines_.size()) return std::nullopt;
        return lines_[*at + 1 + n];
    }
    int32_t Int(std::string_view tag, int32_t fallback, size_t n = 0) const {
        const auto v = Value(tag, n);
        return v ? ParseInt(*v).value_or(fallback) : fallback;
    }
    bool Bool(std::string_view tag, size_t n = 0) const {
        const auto v = Value(tag, n);
        return v && *v == "Y";
    }
    const std::vector<std::string_view>& Lines() const { return lines_; }

private:
    std::vector<std::string_view> lines_;
};

char StateLetter(uint8_t state) {
    return state == kMissionCompleted ? 'C' : state == kMissionUnlocked ? 'O' : 'L';
}

uint8_t StateOfLetter(std::string_view letter) {
    if (letter == "O") return kMissionUnlocked;
    if (letter == "C") return kMissionCompleted;
    return kMissionLocked;
}

const char* YesNo(bool value) {
    return value ? "Y" : "N";
}

// A text value on one line: a line break inside it would shift every line after it.
std::string OneLine(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return out;
}

constexpr uint64_t kMaxProfileBytes = uint64_t(4) << 20;

// save/<name>.prof, for a name the player could have given.
std::optional<std::filesystem::path> ProfilePath(const std::filesystem::path& saveFolder,
                                                 const std::string& name, std::string* error) {
    if (auto problem = PlayerNameProblem(name)) {
        if (error) *error = *problem;
        return std::nullopt;
    }
    std::string why;
    auto path = PathInFolder(saveFolder, name, ".prof", &why);
    if (!path && error) *error = why;
    return path;
}

}  // namespace

std::vector<std::string_view> ProfileLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

bool TSKIProfile::operator==(const TSKIProfile& o) const {
    const TSKIProfileTerms& a = Terms;
    const TSKIProfileTerms& b = o.Terms;
    return Name == o.Name && Missions == o.Missions && a.Friends == b.Friends &&
           a.FriendsEnabled == b.FriendsEnabled && a.UnlockedLifts == b.UnlockedLifts &&
           a.UnlockedBuildings == b.UnlockedBuildings && a.LoanInterest == b.LoanInterest &&
           a.LoanLimit == b.LoanLimit && a.MarketingPriceCheap == b.MarketingPriceCheap &&
           a.MarketingPriceNormal == b.MarketingPriceNormal &&
           a.MarketingPriceVIP == b.MarketingPriceVIP && a.PRCampPrice == b.PRCampPrice &&
           CampCompleted == o.CampCompleted && SandboxUnlocked == o.SandboxUnlocked &&
           SandboxDiff == o.SandboxDiff && CampFinishRead == o.CampFinishRead &&
           SandboxNotifRead == o.SandboxNotifRead && SandBox == o.SandBox;
}

std::string ProfileText(const TSKIProfile& p) {
    std::string out;
    auto line = [&out](std::string_view s) {
        out.append(s);
        out.append("\r\n");
    };
    auto number = [&](const char* tag, int32_t value) {
        line(tag);
        line(std::to_string(value));
    };
    auto flag = [&](const char* tag, bool value) {
        line(tag);
        line(YesNo(value));
    };
    line("[Missions-Start]");
    for (const TSKIMissionData& m : p.Missions) {
        line(OneLine(m.File));
        line(OneLine(m.Name));
        line(std::string(1, StateLetter(m.State)));
        line(std::to_string(m.MapTop));
        line(std::to_string(m.MapLeft));
        line(kMissionSeparator);
    }
    line("[Missions-End]");
    const TSKIProfileTerms& t = p.Terms;
    number("[Friends]", t.Friends);
    flag("[FriendsEnabled]", t.FriendsEnabled);
    line("[UnlockedLifts]");
    for (bool b : t.UnlockedLifts) line(YesNo(b));
    line("[UnlockedBuildings]");
    for (bool b : t.UnlockedBuildings) line(YesNo(b));
    number("[LoanInterest]", t.LoanInterest);
    number("[LoanLimit]", t.LoanLimit);
    number("[MarketingPriceCheap]", t.MarketingPriceCheap);
    number("[MarketingPriceNormal]", t.MarketingPriceNormal);
    number("[MarketingPriceVIP]", t.MarketingPriceVIP);
    number("[PRCampPrice]", t.PRCampPrice);
    flag("[CampCompleted]", p.CampCompleted);
    flag("[SandboxNotifRead]", p.SandboxNotifRead);
    number("[SandboxDiff]", p.SandboxDiff);
    flag("[CampFinishRead]", p.CampFinishRead);
    line("[SandBox]");
    for (const TSKISandboxMap& m : p.SandBox) {
        line(OneLine(m.Text));
        line(std::to_string(m.Completed));
    }
    return out;
}

bool ParseProfile(std::string_view text, TSKIProfile& out, std::string* error) {
    const TProfileLines f(text);
    TSKIProfile p;
    p.Name = out.Name;

    // The mission lines lie strictly between the two markers; six lines a mission, the
    // sixth (the separator) not read.
    const auto start = f.Find("[Missions-Start]");
    const auto end = f.Find("[Missions-End]");
    if (start && end && *end > *start) {
        const auto& lines = f.Lines();
        const size_t count = (*end - *start - 1) / kLinesPerMission;
        for (size_t m = 0; m < count; ++m) {
            const size_t at = *start + 1 + m * kLinesPerMission;
            TSKIMissionData d;
            d.File = std::string(lines[at]);
            d.Name = std::string(lines[at + 1]);
            d.State = StateOfLetter(lines[at + 2]);
            const auto top = ParseInt(lines[at + 3]);
            const auto left = ParseInt(lines[at + 4]);
            if (!top || !left) {
                if (error)
                    *error = "the map position of mission " + std::to_string(m + 1) + " (" +
                             d.Name + ") is not a number";
                return false;
            }
            d.MapTop = *top;
            d.MapLeft = *left;
            p.Missions.push_back(std::move(d));
        }
    }

    TSKIProfileTerms& t = p.Terms;
    t.Friends = f.Int("[Friends]", 0);
    t.FriendsEnabled = f.Bool("[FriendsEnabled]");
    for (size_t k = 0; k < t.UnlockedLifts.size(); ++k)
        t.UnlockedLifts[k] = f.Bool("[UnlockedLifts]", k);
    for (size_t k = 0; k < t.UnlockedBuildings.size(); ++k)
        t.UnlockedBuildings[k] = f.Bool("[UnlockedBuildings]", k);
    const TSKIProfileTerms defaults;
    t.LoanInterest = f.Int("[LoanInterest]", defaults.LoanInterest);
    t.LoanLimit = f.Int("[LoanLimit]", defaults.LoanLimit);
    t.MarketingPriceCheap = f.Int("[MarketingPriceCheap]", defaults.MarketingPriceCheap);
    t.MarketingPriceNormal = f.Int("[MarketingPriceNormal]", defaults.MarketingPriceNormal);
    t.MarketingPriceVIP = f.Int("[MarketingPriceVIP]", defaults.MarketingPriceVIP);
    t.PRCampPrice = f.Int("[PRCampPrice]", defaults.PRCampPrice);
    t = t.Bounded();
    p.CampCompleted = f.Bool("[CampCompleted]");
    p.SandboxUnlocked = t.UnlockedBuildings[kBuildParking];
    p.SandboxNotifRead = f.Bool("[SandboxNotifRead]");
    p.SandboxDiff = uint8_t(std::clamp(f.Int("[SandboxDiff]", 1), 1, int(kMaxSandboxDiff)));
    p.CampFinishRead = f.Bool("[CampFinishRead]");
    for (size_t m = 0; m < p.SandBox.size(); ++m) {
        const auto name = f.Value("[SandBox]", 2 * m);
        if (name) p.SandBox[m].Text = std::string(*name);
        p.SandBox[m].Completed =
            uint8_t(std::clamp(f.Int("[SandBox]", 0, 2 * m + 1), 0, int(kMaxSandboxDiff)));
    }
    out = std::move(p);
    return true;
}

bool ReadProfile(TSKIProfile& profile, const std::filesystem::path& saveFolder,
                 std::string* error) {
    if (profile.Name.empty()) return true;
    const auto path = ProfilePath(saveFolder, profile.Name, error);
    if (!path) return false;
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) return true;
    std::string text;
    if (!ReadWholeFile(*path, text, error, kMaxProfileBytes)) return false;
    return ParseProfile(text, profile, error);
}

bool WriteProfile(const TSKIProfile& profile, const std::filesystem::path& saveFolder,
                  std::string* error) {
    if (profile.Name.empty()) return true;
    const auto path = ProfilePath(saveFolder, profile.Name, error);
    if (!path) return false;
    return WriteFileAtomically(*path, ProfileText(profile), error);
}

bool UnlockMission(TSKIProfile& profile, std::string_view name) {
    bool changed = false;
    for (TSKIMissionData& m : profile.Missions) {
        if (m.Name == name && m.State == kMissionLocked) {
            m.State = kMissionUnlocked;
            changed = true;
        }
    }
    return changed;
}

}  // namespace vallorn
