// The level editor's file dialogs, drawn with ImGui: a caption, the files of one folder that
// match the dialog's filter, and a name field. Choosing gives the full path; the name typed
// becomes a path only through the safe paths, inside the folder shown. A dialog may offer named
// folders to switch between (the shipped worlds and the add-ons) and, for a picture to read,
// browse into any folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vallorn {

struct TSKIFileFilter {
    std::string Text;                     // "SKI Level files (*.skil)"
    std::vector<std::string> Extensions;  // ".skil"; lower case
    std::string DefaultExtension;         // added to a typed name without one (may be empty)
};

// The files of `folder` whose extension (any case) is one of `extensions`, sorted by name.
std::vector<std::string> ListFolder(const std::filesystem::path& folder,
                                    const std::vector<std::string>& extensions);
// The folders inside `folder`, sorted by name.
std::vector<std::string> ListSubfolders(const std::filesystem::path& folder);

// Where a dialog may look for its file: named folders shown as buttons, and whether it may go
// up and down into any folder from the one it opens in.
struct TSKIFilePlaces {
    std::vector<std::pair<std::string, std::filesystem::path>> Named;
    bool AnyFolder = false;
};

class TSKIEditorFileDialog {
public:
    void Open(const std::string& caption, const std::filesystem::path& folder,
              const TSKIFileFilter& filter, const TSKIFilePlaces& places = {});
    bool IsOpen() const { return open_; }
    // Inside the ImGui frame; the chosen file once, when "OK" is pressed on a valid name.
    std::optional<std::filesystem::path> Draw(float scale);

    // What the list shows, and the moves its entries and buttons make: into a subfolder or up
    // to the parent folder (a dialog that may look anywhere), or to a named folder. A move the
    // dialog does not allow changes nothing and gives false.
    const std::filesystem::path& Folder() const { return folder_; }
    const std::vector<std::string>& Files() const { return files_; }
    const std::vector<std::string>& Subfolders() const { return subfolders_; }
    bool Enter(const std::string& subfolder);
    bool Up();
    bool GoTo(size_t named);
    // The path a name typed or picked stands for, in the folder shown, with the filter's
    // default extension added to a name without a known one; none (and why) for a name that
    // would leave the folder.
    std::optional<std::filesystem::path> PathFor(std::string name, std::string* why) const;

private:
    void Show(const std::filesystem::path& folder);

    bool open_ = false;
    std::string caption_;
    std::filesystem::path folder_;
    TSKIFileFilter filter_;
    TSKIFilePlaces places_;
    std::vector<std::string> files_, subfolders_;
    char name_[256] = {};
    std::string problem_;
};

}  // namespace vallorn
