// The in-game help window: an HTML page of the help folder drawn by the help viewer.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vallorn {

class TSKIHelpViewer;

// The file a help page name opens: the first that exists of help/NAME.html, help/NAME.htm and
// NAME under the program folder; nothing for a name that is missing or would leave the folder.
std::optional<std::filesystem::path> HelpFileFor(const std::filesystem::path& root,
                                                 const std::string& name);
// The window's caption for a page: "Objective hint" for the objective pages ("GIF..."), none
// for the greeting and the credits, "Vallorn Manual" otherwise.
std::string HelpCaption(const std::string& name);

class TSKIHelpWindow {
public:
    explicit TSKIHelpWindow(std::filesystem::path root);
    ~TSKIHelpWindow();

    // Shows a page by name; an empty name hides the window. False when no file was found
    // (the window then says so).
    bool Show(const std::string& name);
    void Hide() { visible_ = false; }
    bool Visible() const { return visible_; }
    // Inside the ImGui frame: the window while visible, placed over the view at first.
    void Draw(float viewWidth, float viewHeight, float dpiScale);

private:
    std::filesystem::path root_;
    std::unique_ptr<TSKIHelpViewer> viewer_;
    std::string caption_;
    bool visible_ = false;
    bool placed_ = false;
    bool raise_ = false;  // brought to the front when a page is shown
};

}  // namespace vallorn
