// INI files as every file format of the game uses them: [Section] headers and key=value lines.
// Section and key names match without regard to letter case; values run to the end of their
// line and may be of any length; writing a key replaces it in its section or appends it;
// sections the writer does not know are kept as they are.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vallorn {

class TIniFile {
public:
    TIniFile() = default;

    // Largest INI file read.
    static constexpr uint64_t kMaxFileBytes = uint64_t(64) << 20;

    // Reads a file. A missing or unreadable file (not a regular file, or larger than
    // kMaxFileBytes) reads as empty (every key takes its default); `Exists()` tells which
    // happened and `ReadError()` why.
    explicit TIniFile(const std::filesystem::path& path);
    static TIniFile FromText(std::string_view text);

    bool Exists() const { return exists_; }
    const std::string& ReadError() const { return readError_; }
    const std::filesystem::path& Path() const { return path_; }

    // --- reading -------------------------------------------------------------------------
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> Sections() const;
    // Key names of a section in file order (empty when the section is missing).
    std::vector<std::string> SectionKeys(std::string_view section) const;

    // Plain text value, or `def` when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def = {}) const;
    // Pointer to the stored value, or nullptr when missing (no copy; for long rows).
    const std::string* FindValue(std::string_view section, std::string_view key) const;
    // Decimal integer; a missing key or text that does not parse reads as `def`.
    int64_t ReadInteger(std::string_view section, std::string_view key, int64_t def) const;
    // Any integer, non-zero is true; missing or unparsable reads as `def`.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Real with a decimal comma ("." also accepted); missing or unparsable reads as `def`.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    // Parameter-file real held in thousandths: the text (or `defText` when missing) is parsed
    // as a decimal-comma number and divided by 1000; unparsable text gives defText / 1000.
    double ReadThousandths(std::string_view section, std::string_view key,
                           std::string_view defText) const;
    // Hexadecimal block (two digits per byte, either case). Returns false when missing or not
    // valid hexadecimal; `out` is then left empty.
    bool ReadBinary(std::string_view section, std::string_view key,
                    std::vector<uint8_t>& out) const;

    // --- writing -------------------------------------------------------------------------
    // Every key written reads back in its section. Blanks around names are dropped; a name
    // that could not be read back as written (an empty one, a section name with "]", a key
    // with "=" or starting with "[", ";" or "#", a line break in either) is not written and
    // the call returns false.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int64_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);
    // Written as the saved game writes reals: 15 significant digits, decimal comma.
    bool WriteFloat(std::string_view section, std::string_view key, double value);
    bool WriteBinary(std::string_view section, std::string_view key, const void* data, size_t size);
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    // The whole file as text (CR LF line ends are not used; lines end with '\n').
    std::string ToText() const;
    // Writes to a temporary file beside `path` and renames it into place. Returns false and
    // fills `error` when the file could not be written; the old file is then untouched.
    bool SaveToFile(const std::filesystem::path& path, std::string* error = nullptr) const;
    bool Save(std::string* error = nullptr) const { return SaveToFile(path_, error); }

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::string header;  // the line of a header without a name, which holds no keys
        std::vector<Entry> entries;
        std::unordered_map<std::string, size_t> index;  // lower-case key -> entry
    };

    void Parse(std::string_view text);
    const Section* FindSection(std::string_view name) const;
    Section& GetOrAddSection(std::string_view name);

    std::filesystem::path path_;
    bool exists_ = false;
    std::string readError_;
    std::vector<std::unique_ptr<Section>> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name -> section
};

}  // namespace vallorn
