#include "ui/text_lists.h"

#include <fstream>

#include "base/safe_path.h"

namespace vallorn {

namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n\f\v";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    const size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> ReadTextLines(const std::filesystem::path& file, size_t maxLines,
                                       size_t maxLength) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    if (!in) return lines;
    std::string line;
    while (lines.size() < maxLines && std::getline(in, line)) {
        if (line.size() > maxLength) line.resize(maxLength);
        std::string trimmed = Trim(line);
        if (!trimmed.empty()) lines.push_back(std::move(trimmed));
    }
    return lines;
}

std::string LineBreaks(std::string text) {
    for (size_t at = 0; (at = text.find('\r', at)) != std::string::npos;) {
        if (at + 1 < text.size() && text[at + 1] == '\n')
            text.erase(at, 1);
        else
            text[at] = '\n';
    }
    return text;
}

std::vector<std::filesystem::path> MusicTracks(const std::filesystem::path& dataFolder,
                                               const std::vector<std::string>& lines) {
    std::vector<std::filesystem::path> tracks;
    for (const std::string& line : lines) {
        if (auto path = PathInFolder(dataFolder, line)) tracks.push_back(*path);
    }
    return tracks;
}

}  // namespace vallorn
