#include "presentation/model_obj.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <string_view>
#include <unordered_map>

#include <cmath>

#include <glm/geometric.hpp>

namespace vallorn {
namespace {

constexpr std::string_view kBlank = " \t\r";

std::string ReadWhole(const std::filesystem::path& file, bool& ok) {
    std::ifstream in(file, std::ios::binary);
    ok = bool(in);
    return ok ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

std::string_view Trim(std::string_view s) {
    const size_t a = s.find_first_not_of(kBlank);
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(kBlank) - a + 1);
}

// Splits off the first word of `rest`.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    const size_t end = std::min(rest.find_first_of(kBlank), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

// Calls `line(keyword, rest)` for every line that is not blank or a comment.
template <typename F>
void ForEachLine(std::string_view text, F&& line) {
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view l = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (const size_t hash = l.find('#'); hash != std::string_view::npos) l = l.substr(0, hash);
        const std::string_view keyword = NextWord(l);
        if (!keyword.empty()) line(keyword, Trim(l));
    }
}

float Number(std::string_view& rest) {
    const std::string_view word = NextWord(rest);
    float v = 0.0f;
    const char* begin = word.data();
    if (!word.empty() && *begin == '+') ++begin;
    std::from_chars(begin, word.data() + word.size(), v);
    return std::isfinite(v) ? v : 0.0f;
}

glm::vec3 Triple(std::string_view rest) {
    const float x = Number(rest), y = Number(rest);
    return {x, y, Number(rest)};
}

// A 1-based index of the file, or negative from the end of what is read so far; -1 when
// absent, -2 when it names nothing.
long Index(std::string_view word, size_t count) {
    if (word.empty()) return -1;
    long v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v == 0) return -2;
    const long i = v > 0 ? v - 1 : long(count) + v;
    return i >= 0 && size_t(i) < count ? i : -2;
}

void ReadLibrary(const std::filesystem::path& file, TObjModel& out) {
    bool ok = false;
    const std::string text = ReadWhole(file, ok);
    TObjMaterial* current = nullptr;
    ForEachLine(text, [&](std::string_view key, std::string_view rest) {
        if (key == "newmtl") {
            out.Materials.push_back({});
            current = &out.Materials.back();
            current->Name = std::string(rest);
        } else if (!current) {
            return;
        } else if (key == "Kd") {
            current->Diffuse = Triple(rest);
        } else if (key == "Ka") {
            current->Ambient = Triple(rest);
        } else if (key == "d") {
            current->Opacity = Number(rest);
        } else if (key == "Tr") {
            current->Opacity = 1.0f - Number(rest);
        } else if (key == "map_Kd") {
            // Options come first; the file is the last word.
            std::string_view word;
            while (!rest.empty()) word = NextWord(rest);
            current->Texture = std::string(word);
        }
    });
}

struct TReader {
    TObjModel& Out;
    std::vector<glm::vec3> Positions, Normals;
    std::vector<glm::vec2> TexCoords;
    std::unordered_map<std::string, size_t> MaterialByName;
    std::vector<long> PartOfMaterial;
    size_t Material = 0;  // the default one until a known material is used
    std::string Why;

    TObjPart& Part() {
        long& slot = PartOfMaterial[Material];
        if (slot < 0) {
            slot = long(Out.Parts.size());
            Out.Parts.push_back({Material, {}});
        }
        return Out.Parts[size_t(slot)];
    }

    bool Corner(std::string_view word, TObjCorner& c, bool& hasNormal) {
        const size_t s1 = word.find('/');
        const size_t s2 = s1 == std::string_view::npos ? s1 : word.find('/', s1 + 1);
        const long p = Index(word.substr(0, s1), Positions.size());
        const long t = s1 == std::string_view::npos
                           ? -1
                           : Index(word.substr(s1 + 1, s2 - s1 - 1), TexCoords.size());
        const long n =
            s2 == std::string_view::npos ? -1 : Index(word.substr(s2 + 1), Normals.size());
        if (p < 0 || t == -2 || n == -2) return false;
        c.Position = Positions[size_t(p)];
        if (t >= 0) c.TexCoord = TexCoords[size_t(t)];
        hasNormal = n >= 0;
        if (hasNormal) c.Normal = Normals[size_t(n)];
        return true;
    }

    bool Face(std::string_view rest) {
        std::vector<TObjCorner> corners;
        bool allNormals = true;
        while (!rest.empty()) {
            TObjCorner c;
            bool hasNormal = false;
            if (!Corner(NextWord(rest), c, hasNormal)) {
                Why = "a face names a missing vertex";
                return false;
            }
            allNormals = allNormals && hasNormal;
            corners.push_back(c);
        }
        if (corners.size() < 3) return true;  // points and lines are not drawn
        if (!allNormals) {
            const glm::vec3 n = glm::cross(corners[1].Position - corners[0].Position,
                                           corners[2].Position - corners[0].Position);
            const float len = glm::length(n);
            for (TObjCorner& c : corners) c.Normal = len > 0 ? n / len : glm::vec3(0, 1, 0);
        }
        TObjPart& part = Part();
        for (size_t k = 1; k + 1 < corners.size(); ++k) {
            part.Corners.push_back(corners[0]);
            part.Corners.push_back(corners[k]);
            part.Corners.push_back(corners[k + 1]);
        }
        return true;
    }
};

}  // namespace

bool ReadObjModel(const std::filesystem::path& file, TObjModel& out, std::string& why) {
    out = {};
    bool ok = false;
    const std::string text = ReadWhole(file, ok);
    if (!ok) {
        why = "cannot open the file";
        return false;
    }
    // The libraries first, so that every name used is known whatever the line order.
    ForEachLine(text, [&](std::string_view key, std::string_view rest) {
        if (key != "mtllib") return;
        // Libraries are read from the model's own folder only.
        while (!rest.empty())
            ReadLibrary(
                file.parent_path() / std::filesystem::path(std::string(NextWord(rest))).filename(),
                out);
    });
    TReader r{out, {}, {}, {}, {}, {}, 0, {}};
    for (size_t m = 0; m < out.Materials.size(); ++m)
        r.MaterialByName.emplace(out.Materials[m].Name, m);
    out.Materials.push_back({"DefaultMaterial", glm::vec3(0.6f), glm::vec3(0.0f), 1.0f, {}});
    r.Material = out.Materials.size() - 1;
    r.PartOfMaterial.assign(out.Materials.size(), -1);
    bool good = true;
    ForEachLine(text, [&](std::string_view key, std::string_view rest) {
        if (!good) return;
        if (key == "v") {
            r.Positions.push_back(Triple(rest));
        } else if (key == "vn") {
            r.Normals.push_back(Triple(rest));
        } else if (key == "vt") {
            const float u = Number(rest);
            r.TexCoords.push_back({u, Number(rest)});
            out.TexCoords = true;
        } else if (key == "f") {
            good = r.Face(rest);
        } else if (key == "usemtl") {
            const auto found = r.MaterialByName.find(std::string(rest));
            r.Material = found != r.MaterialByName.end() ? found->second : out.Materials.size() - 1;
        }
    });
    if (!good) {
        why = r.Why;
        return false;
    }
    if (out.Parts.empty()) {
        why = "no triangles";
        return false;
    }
    return true;
}

}  // namespace vallorn
