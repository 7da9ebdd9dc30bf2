#include "base/ini_file.h"

#include <algorithm>
#include <cctype>

#include "base/atomic_file.h"
#include "base/number_format.h"

namespace vallorn {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Names the writer takes are those that read back as the same name in the same place: a
// section name without "]" (it would end the header), a key that does not start like a header
// or a comment and holds no "=" (the reader splits there), neither empty nor on two lines.
// Blanks around a name are dropped, as the reader drops them.
bool WritableSection(std::string_view name) {
    return !name.empty() && name.find_first_of("]\r\n") == std::string_view::npos;
}

bool WritableKey(std::string_view key) {
    return !key.empty() && key.front() != '[' && key.front() != ';' && key.front() != '#' &&
           key.find_first_of("=\r\n") == std::string_view::npos;
}

}  // namespace

TIniFile::TIniFile(const std::filesystem::path& path) : path_(path) {
    std::string text;
    if (ReadWholeFile(path, text, &readError_, kMaxFileBytes)) {
        exists_ = true;
        Parse(text);
    }
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    ini.exists_ = true;
    ini.Parse(text);
    return ini;
}

void TIniFile::Parse(std::string_view text) {
    Section* current = nullptr;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) {
            if (end == text.size()) break;
            continue;
        }
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name =
                Trim(close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1));
            if (name.empty()) {
                // A header without a name: its lines belong to no section that can be read,
                // and are written back after the header as they stood.
                sections_.push_back(std::make_unique<Section>());
                sections_.back()->header = std::string(line);
                current = sections_.back().get();
                continue;
            }
            current = &GetOrAddSection(name);
            continue;
        }
        if (!current) current = &GetOrAddSection("");  // lines before the first header
        size_t eq = line.find('=');
        if (line.front() == ';' || line.front() == '#' || eq == std::string_view::npos ||
            current->name.empty()) {
            current->entries.push_back({std::string(), std::string(line)});
            continue;
        }
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (key.empty()) {  // "=value" is no key; kept as the line it is
            current->entries.push_back({std::string(), std::string(line)});
            continue;
        }
        std::string lower = Lower(key);
        current->entries.push_back({std::string(key), std::string(value)});
        current->index.emplace(std::move(lower), current->entries.size() - 1);  // first wins
        if (end == text.size()) break;
    }
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(Lower(Trim(name)));
    return it == sectionIndex_.end() ? nullptr : sections_[it->second].get();
}

TIniFile::Section& TIniFile::GetOrAddSection(std::string_view name) {
    std::string lower = Lower(name);
    auto it = sectionIndex_.find(lower);
    if (it != sectionIndex_.end()) return *sections_[it->second];
    sections_.push_back(std::make_unique<Section>());
    sections_.back()->name = std::string(name);
    sectionIndex_.emplace(std::move(lower), sections_.size() - 1);
    return *sections_.back();
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> TIniFile::Sections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) {
        if (!s->name.empty()) names.push_back(s->name);
    }
    return names;
}

std::vector<std::string> TIniFile::SectionKeys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section)) {
        for (const Entry& e : s->entries) {
            if (!e.key.empty()) keys.push_back(e.key);
        }
    }
    return keys;
}

const std::string* TIniFile::FindValue(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s || s->name.empty()) return nullptr;
    auto it = s->index.find(Lower(Trim(key)));
    return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    const std::string* v = FindValue(section, key);
    return v ? *v : std::string(def);
}

int64_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int64_t def) const {
    const std::string* v = FindValue(section, key);
    if (!v) return def;
    return ParseInteger(*v).value_or(def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    const std::string* v = FindValue(section, key);
    if (!v) return def;
    auto n = ParseInteger(*v);
    return n ? *n != 0 : def;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
    const std::string* v = FindValue(section, key);
    if (!v) return def;
    return ParseReal(*v).value_or(def);
}

double TIniFile::ReadThousandths(std::string_view section, std::string_view key,
                                 std::string_view defText) const {
    const double fallback = ParseReal(defText).value_or(0.0) / 1000.0;
    const std::string* v = FindValue(section, key);
    if (!v) return fallback;
    auto parsed = ParseReal(*v);
    return parsed ? *parsed / 1000.0 : fallback;
}

bool TIniFile::ReadBinary(std::string_view section, std::string_view key,
                          std::vector<uint8_t>& out) const {
    out.clear();
    const std::string* v = FindValue(section, key);
    if (!v) return false;
    auto bytes = FromHex(*v);
    if (!bytes) return false;
    out.assign(bytes->begin(), bytes->end());
    return true;
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!WritableSection(section) || !WritableKey(key)) return false;
    // A value is one line: line breaks would split it into foreign keys on reading.
    std::string clean(value);
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    Section& s = GetOrAddSection(section);
    std::string lower = Lower(key);
    auto it = s.index.find(lower);
    if (it != s.index.end()) {
        s.entries[it->second].value = std::move(clean);
        return true;
    }
    s.entries.push_back({std::string(key), std::move(clean)});
    s.index.emplace(std::move(lower), s.entries.size() - 1);
    return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    return WriteString(section, key, FormatReal(value));
}

bool TIniFile::WriteBinary(std::string_view section, std::string_view key, const void* data,
                           size_t size) {
    return WriteString(section, key, ToHex(data, size));
}

void TIniFile::EraseSection(std::string_view section) {
    auto it = sectionIndex_.find(Lower(Trim(section)));
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + long(it->second));
    sectionIndex_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i]->header.empty()) sectionIndex_.emplace(Lower(sections_[i]->name), i);
    }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    auto sit = sectionIndex_.find(Lower(Trim(section)));
    if (sit == sectionIndex_.end()) return;
    Section& s = *sections_[sit->second];
    auto it = s.index.find(Lower(Trim(key)));
    if (it == s.index.end()) return;
    s.entries.erase(s.entries.begin() + long(it->second));
    s.index.clear();
    for (size_t i = 0; i < s.entries.size(); ++i) {
        if (!s.entries[i].key.empty()) s.index.emplace(Lower(s.entries[i].key), i);
    }
}

std::string TIniFile::ToText() const {
    size_t size = 0;
    for (const auto& s : sections_) {
        size += s->name.size() + s->header.size() + 4;
        for (const Entry& e : s->entries) size += e.key.size() + e.value.size() + 2;
    }
    std::string out;
    out.reserve(size);
    bool first = true;
    for (const auto& s : sections_) {
        if (s->name.empty() && s->header.empty() && s->entries.empty()) continue;
        if (!first) out += '\n';
        first = false;
        if (!s->header.empty()) {
            out += s->header;
            out += '\n';
        } else if (!s->name.empty()) {
            out += '[';
            out += s->name;
            out += "]\n";
        }
        for (const Entry& e : s->entries) {
            if (e.key.empty()) {
                out += e.value;  // comment or other line kept as it was
            } else {
                out += e.key;
                out += '=';
                out += e.value;
            }
            out += '\n';
        }
    }
    return out;
}

bool TIniFile::SaveToFile(const std::filesystem::path& path, std::string* error) const {
    return WriteFileAtomically(path, ToText(), error);
}

}  // namespace vallorn
