// The help viewer: an HTML page laid out by litehtml with our master stylesheet and drawn
// into the current ImGui window; links open the linked page.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace vallorn {

class TSKIHelpViewer {
public:
    // The master stylesheet is read from `helpFolder`/master.css.
    explicit TSKIHelpViewer(std::filesystem::path helpFolder);
    ~TSKIHelpViewer();
    TSKIHelpViewer(const TSKIHelpViewer&) = delete;
    TSKIHelpViewer& operator=(const TSKIHelpViewer&) = delete;

    // Loads a page and forgets the pages visited before; false with a reason (the page shown
    // is then a short error page).
    bool Open(const std::filesystem::path& file, std::string* error = nullptr);
    // The page before the last followed link, if any.
    bool CanGoBack() const;
    bool Back();
    const std::filesystem::path& Page() const;
    std::string Title() const;  // the page's <title>
    // Lays the page out to the content width and draws it, scrollable; handles link clicks
    // (a page of ours opens in place; other links are ignored).
    void Draw();

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace vallorn
