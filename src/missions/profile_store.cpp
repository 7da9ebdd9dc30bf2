// Profiles on disk: the names a player may give, creating a profile from the template,
// deleting one without ever leaving save/ or following a symbolic link, and the profile the
// game starts with.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "base/atomic_file.h"
#include "base/desktop.h"
#include "base/safe_path.h"
#include "missions/profile.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

constexpr const char* kProfileSuffix = ".prof";
constexpr const char* kTemplateName = "missions.txt";
constexpr uint64_t kMaxTemplateBytes = uint64_t(4) << 20;
// A dialogs implementation that keeps answering a refused name (a headless one answers with
// the proposed text) is not asked for ever.
constexpr int kMaxNameTries = 100;

// The names the game gives its own files and folders in save/ and in a profile's folder: the
// options (SaveOptions), the objective editor's scratch file (kObjectiveScratchFile) and the
// automatic saves (CreateProfile, CloseGame, Autosave). A profile's folder or file of such a
// name would stand in their way.
struct TReservedName {
    const char* Name;
    const char* What;
};
constexpr TReservedName kReservedSaveNames[] = {
    {"Options.ini", "the options file Options.ini"},
    {"IniTemp.ini", "the objective editor's scratch file IniTemp.ini"},
    {"auto", "the folder auto of automatic saves"},
};

// The name up to its first ".", in lower case: "Options.INI" and "options" are one name.
std::string NameStem(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    for (char& c : stem) c = char(std::tolower(static_cast<unsigned char>(c)));
    return stem;
}

bool PlayerNameAllowed(std::string_view name) {
    if (name.empty() || name.size() > kMaxPlayerNameLength) return false;
    if (name.front() == '.' || name.find("..") != std::string_view::npos) return false;
    for (const char c : name) {
        if (c == '/' || c == '\\') return false;
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    }
    return !FileNameProblem(name);
}

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

// Something stands at the path (a dangling link counts).
bool Occupied(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

// The template's lines with CR LF line ends.
std::string WithCrLf(std::string_view text) {
    std::string out;
    for (std::string_view line : ProfileLines(text)) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

// An open folder descriptor, closed with the object.
class TFolderFd {
public:
    explicit TFolderFd(int fd) : fd_(fd) {}
    ~TFolderFd() {
        if (fd_ >= 0) close(fd_);
    }
    TFolderFd(const TFolderFd&) = delete;
    TFolderFd& operator=(const TFolderFd&) = delete;
    int Get() const { return fd_; }
    bool Open() const { return fd_ >= 0; }

private:
    int fd_;
};

// Opens `name` in the folder `at` as a folder, never through a symbolic link.
int OpenSubfolder(int at, const char* name) {
    return openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// What deleting could not remove, as "save/<...>: reason".
class TLeftovers {
public:
    void Add(const std::string& shown, const std::string& why) {
        items_.push_back(shown + ": " + why);
    }
    void AddErrno(const std::string& shown) { Add(shown, std::strerror(errno)); }
    bool Empty() const { return items_.empty(); }
    std::string Text() const {
        std::string text = items_.front();
        for (size_t k = 1; k < items_.size() && k < 4; ++k) text += "; " + items_[k];
        if (items_.size() > 4) text += "; and " + std::to_string(items_.size() - 4) + " more";
        return text;
    }

private:
    std::vector<std::string> items_;
};

// Removes every entry of the open folder `dir` that is not a folder: files, and symbolic
// links themselves (never what they point to). Folders other than `keep` are left and
// reported; `shown` prefixes the names in the report.
void RemoveFilesIn(int dir, const std::string& shown, const char* keep, TLeftovers& left) {
    const int listing = dup(dir);
    if (listing < 0) return left.AddErrno(shown);
    DIR* d = fdopendir(listing);
    if (!d) {
        left.AddErrno(shown);
        close(listing);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    for (const std::string& n : names) {
        struct stat st;
        if (fstatat(dir, n.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) left.AddErrno(shown + n);
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (!keep || n != keep) left.Add(shown + n, "a folder is not deleted");
            continue;
        }
        if (unlinkat(dir, n.c_str(), 0) != 0 && errno != ENOENT) left.AddErrno(shown + n);
    }
}

// The entry `name` of `dir`: a link or a file is removed itself; a folder is emptied of its
// files (and of its auto/ folder when `withAuto`) and removed.
void RemoveFolderEntry(int dir, const std::string& name, const std::string& shown, bool withAuto,
                       TLeftovers& left) {
    struct stat st;
    if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) left.AddErrno(shown);
        return;
    }
    if (!S_ISDIR(st.st_mode)) {
        if (unlinkat(dir, name.c_str(), 0) != 0 && errno != ENOENT) left.AddErrno(shown);
        return;
    }
    const TFolderFd sub(OpenSubfolder(dir, name.c_str()));
    if (!sub.Open()) return left.AddErrno(shown);
    if (withAuto) RemoveFolderEntry(sub.Get(), "auto", shown + "/auto", false, left);
    RemoveFilesIn(sub.Get(), shown + "/", withAuto ? "auto" : nullptr, left);
    if (unlinkat(dir, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) left.AddErrno(shown);
}

}  // namespace

std::optional<std::string> PlayerNameProblem(std::string_view name) {
    if (PlayerNameAllowed(name)) return std::nullopt;
    return std::string("Invalid profile name !");
}

std::optional<std::string> NewProfileNameProblem(std::string_view name) {
    if (auto problem = PlayerNameProblem(name)) return problem;
    for (const TReservedName& reserved : kReservedSaveNames) {
        if (NameStem(name) != NameStem(reserved.Name)) continue;
        return std::string("Invalid profile name !\r\"") + std::string(name) +
               "\" is the game's own name for " + reserved.What + ".";
    }
    return std::nullopt;
}

std::optional<std::string> SaveNameProblem(std::string_view name) {
    if (PlayerNameAllowed(name)) return std::nullopt;
    return std::string("Invalid file name !");
}

std::optional<fs::path> SavedGamePath(const fs::path& saveFolder, const std::string& profileName,
                                      const std::string& saveName, std::string* error) {
    auto problem = PlayerNameProblem(profileName);
    if (!problem) problem = SaveNameProblem(saveName);
    if (problem) {
        SetError(error, *problem);
        return std::nullopt;
    }
    const auto folder = PathInFolder(saveFolder, profileName, {}, error);
    if (!folder) return std::nullopt;
    return PathInFolder(*folder, saveName, ".ski", error);
}

TSKIProfileCreated CreateProfile(const TSKIFolders& folders, const std::string& name,
                                 TSKIProfile& out, std::string* error) {
    if (auto problem = NewProfileNameProblem(name)) {
        SetError(error, *problem);
        return TSKIProfileCreated::Invalid;
    }
    const auto folder = PathInFolder(folders.Save, name);
    const auto file = PathInFolder(folders.Save, name, kProfileSuffix);
    if (!folder || !file) {
        SetError(error, "Invalid profile name !");
        return TSKIProfileCreated::Invalid;
    }
    if (Occupied(*folder) || Occupied(*file)) {
        SetError(error, "Profile already exists !");
        return TSKIProfileCreated::Exists;
    }

    // The template is read and checked before anything is made.
    const fs::path templ = folders.Worlds / kTemplateName;
    std::string text, why;
    if (!ReadWholeFile(templ, text, &why, kMaxTemplateBytes)) {
        SetError(error, "the profile template " + templ.string() + " cannot be read: " + why);
        return TSKIProfileCreated::Failed;
    }
    TSKIProfile checked;
    if (!ParseProfile(text, checked, &why)) {
        SetError(error, "the profile template " + templ.string() + " is damaged: " + why);
        return TSKIProfileCreated::Failed;
    }

    std::error_code ec;
    fs::create_directories(folders.Save, ec);
    if (ec || !fs::create_directory(*folder, ec)) {
        if (!ec) {  // made meanwhile
            SetError(error, "Profile already exists !");
            return TSKIProfileCreated::Exists;
        }
        SetError(error, "the folder " + folder->string() + " cannot be made: " + ec.message());
        return TSKIProfileCreated::Failed;
    }
    const fs::path autoFolder = *folder / "auto";
    auto undo = [&](bool withFile) {
        std::error_code ignored;
        if (withFile) fs::remove(*file, ignored);
        fs::remove(autoFolder, ignored);
        fs::remove(*folder, ignored);
    };
    if (!fs::create_directory(autoFolder, ec)) {
        SetError(error, "the folder " + autoFolder.string() +
                            " cannot be made: " + (ec ? ec.message() : std::string("it exists")));
        undo(false);
        return TSKIProfileCreated::Failed;
    }
    if (!WriteFileAtomically(*file, WithCrLf(text), &why)) {
        SetError(error, "the profile file cannot be written: " + why);
        undo(false);
        return TSKIProfileCreated::Failed;
    }
    TSKIProfile made;
    made.Name = name;
    if (!ReadProfile(made, folders.Save, &why)) {
        SetError(error, "the new profile file cannot be read: " + why);
        undo(true);
        return TSKIProfileCreated::Failed;
    }
    out = std::move(made);
    return TSKIProfileCreated::Created;
}

bool AskNewProfile(IDialogs& dialogs, const TSKIFolders& folders, TSKIProfile& out) {
    std::string proposed = "Player";
    for (int tries = 0; tries < kMaxNameTries; ++tries) {
        const auto typed = dialogs.InputText("New profile", "Enter new profile name:", proposed);
        if (!typed) return false;
        std::string why;
        switch (CreateProfile(folders, *typed, out, &why)) {
            case TSKIProfileCreated::Created:
                return true;
            case TSKIProfileCreated::Exists:
                dialogs.ShowError("Profile already exists !");
                break;
            case TSKIProfileCreated::Invalid:
                dialogs.ShowError(why.empty() ? "Invalid profile name !" : why);
                break;
            case TSKIProfileCreated::Failed:
                // Not the name's fault: asking again would fail the same way.
                dialogs.ShowError("The profile could not be created: " + why);
                return false;
        }
        proposed = *typed;  // the player corrects what was refused
    }
    return false;
}

std::string DeleteProfileQuestion(const std::string& name) {
    return "This will delete all saved games and campaign !\rAre you sure you want to delete " +
           name + " profile ?";
}

bool DeleteProfile(const TSKIFolders& folders, const std::string& name, std::string* error) {
    if (auto problem = PlayerNameProblem(name)) {
        SetError(error, *problem);
        return false;
    }
    const TFolderFd save(open(folders.Save.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!save.Open()) {
        if (errno == ENOENT) return true;  // no save folder: nothing to delete
        SetError(error, folders.Save.string() + ": " + std::strerror(errno));
        return false;
    }
    TLeftovers left;
    const std::string shown = "save/" + name;
    // The profile file: a link is removed, not its target; a folder of that name is left.
    const std::string prof = name + kProfileSuffix;
    struct stat st;
    if (fstatat(save.Get(), prof.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode))
            left.Add(shown + kProfileSuffix, "a folder is not deleted");
        else if (unlinkat(save.Get(), prof.c_str(), 0) != 0 && errno != ENOENT)
            left.AddErrno(shown + kProfileSuffix);
    } else if (errno != ENOENT) {
        left.AddErrno(shown + kProfileSuffix);
    }
    // The folder with auto/ and the files in both.
    RemoveFolderEntry(save.Get(), name, shown, true, left);
    if (left.Empty()) return true;
    SetError(error, "left behind: " + left.Text());
    return false;
}

bool AskDeleteProfile(IDialogs& dialogs, const TSKIFolders& folders, const std::string& name,
                      TSKIProfile& current) {
    if (!dialogs.AskYesNo(DeleteProfileQuestion(name), false)) return false;
    std::string why;
    if (!DeleteProfile(folders, name, &why))
        dialogs.ShowError("The profile could not be deleted: " + why);
    current.Name.clear();
    return true;
}

std::vector<std::string> ListProfiles(const fs::path& saveFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    const std::string suffix = kProfileSuffix;
    for (fs::directory_iterator it(saveFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (file.size() <= suffix.size() ||
            file.compare(file.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string name = file.substr(0, file.size() - suffix.size());
        std::error_code typeError;
        if (PlayerNameProblem(name) || !it->is_regular_file(typeError)) continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string StartupProfileName(const fs::path& saveFolder, const std::string& lastProfile) {
    if (!lastProfile.empty() && !PlayerNameProblem(lastProfile)) {
        std::error_code ec;
        if (const auto file = PathInFolder(saveFolder, lastProfile, kProfileSuffix);
            file && fs::is_regular_file(*file, ec))
            return lastProfile;
    }
    const auto names = ListProfiles(saveFolder);
    return names.empty() ? std::string() : names.back();
}

}  // namespace vallorn
