#include "base/safe_path.h"

namespace vallorn {

std::optional<std::string> FileNameProblem(std::string_view name) {
    if (name.empty()) return "the name is empty";
    if (name.size() > kMaxFileNameLength)
        return "the name is longer than " + std::to_string(kMaxFileNameLength) + " characters";
    if (name.front() == '.') return "the name begins with a dot";
    for (const char c : name) {
        if (c == '/' || c == '\\') return "the name holds a path separator";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return "the name holds a control character";
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> PathInFolder(const std::filesystem::path& folder,
                                                  std::string_view name, std::string_view suffix,
                                                  std::string* reason) {
    if (auto problem = FileNameProblem(name)) {
        if (reason) {
            // Control characters are not printed back.
            std::string shown;
            for (const char c : name.substr(0, 40))
                shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
            if (name.size() > 40) shown += "...";
            *reason = "'" + shown + "' cannot name a file: " + *problem;
        }
        return std::nullopt;
    }
    std::string file(name);
    file += suffix;
    return folder / file;
}

}  // namespace vallorn
