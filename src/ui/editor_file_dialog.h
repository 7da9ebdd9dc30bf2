// The level editor's file dialogs, drawn with ImGui: a caption, the files of one folder that
// match the dialog's filter, and a name field. Choosing gives the full path; the name typed
// becomes a path only through the safe paths, inside the folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
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

class TSKIEditorFileDialog {
public:
    void Open(const std::string& caption, const std::filesystem::path& folder,
              const TSKIFileFilter& filter);
    bool IsOpen() const { return open_; }
    // Inside the ImGui frame; the chosen file once, when "OK" is pressed on a valid name.
    std::optional<std::filesystem::path> Draw(float scale);

private:
    bool open_ = false;
    std::string caption_;
    std::filesystem::path folder_;
    TSKIFileFilter filter_;
    std::vector<std::string> files_;
    char name_[256] = {};
    std::string problem_;
};

}  // namespace vallorn
