// Add-on maps: saved games in addons/ that players bring, listed by name, previewed by the
// picture and description shared by names beginning with the same four characters.
#include <algorithm>
#include <fstream>
#include <system_error>

#include "base/safe_path.h"
#include "missions/missions.h"

namespace vallorn {

namespace {

constexpr size_t kPrefixCharacters = 4;
constexpr std::streamsize kMaxDescriptionBytes = 64 * 1024;

bool IsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::vector<std::string> ListAddons(const TSKIFolders& folders) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folders.Addons, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() != ".ski" || !IsFile(path)) continue;
        const std::string name = path.stem().string();
        // Only names the game can load again (no hidden or temporary files).
        if (!FileNameProblem(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string AddonPrefix(const std::string& name) {
    // Four characters, not four bytes: a letter written in several bytes stays whole.
    size_t end = 0;
    for (size_t count = 0; end < name.size() && count < kPrefixCharacters; ++count) {
        ++end;
        while (end < name.size() && (uint8_t(name[end]) & 0xC0) == 0x80) ++end;
    }
    return name.substr(0, end);
}

std::filesystem::path AddonPicture(const TSKIFolders& folders, const std::string& prefix) {
    const auto path = PathInFolder(folders.Addons, prefix, ".jpg");
    return path && IsFile(*path) ? *path : std::filesystem::path();
}

std::string AddonDescription(const TSKIFolders& folders, const std::string& prefix) {
    const auto path = PathInFolder(folders.Addons, prefix, ".txt");
    if (!path || !IsFile(*path)) return {};
    std::ifstream in(*path, std::ios::binary);
    std::string text(size_t(kMaxDescriptionBytes), '\0');
    in.read(text.data(), kMaxDescriptionBytes);
    text.resize(size_t(in.gcount()));
    return text;
}

TSKIStartResult TSKIMissions::PlayAddon(const std::string& name, const TSKIGameLoader& load) {
    const auto file = PathInFolder(engine_.Folders.Addons, name, ".ski", &engine_.LoadError);
    if (!file || !load(*file)) {
        engine_.Dialogs->ShowError("Loading failed !");
        return TSKIStartResult::LoadFailed;
    }
    return TSKIStartResult::Started;
}

}  // namespace vallorn
