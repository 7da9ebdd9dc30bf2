#include "ui/help_window.h"

#include <algorithm>

#include <imgui.h>

#include "base/safe_path.h"
#include "platform/help_viewer.h"
#include "ui/probe.h"

namespace vallorn {

std::optional<std::filesystem::path> HelpFileFor(const std::filesystem::path& root,
                                                 const std::string& name) {
    std::error_code ec;
    for (const char* suffix : {".html", ".htm"}) {
        auto path = PathInFolder(root / "help", name, suffix);
        if (path && std::filesystem::is_regular_file(*path, ec)) return path;
    }
    auto bare = PathInFolder(root, name);
    if (bare && std::filesystem::is_regular_file(*bare, ec)) return bare;
    return std::nullopt;
}

std::string HelpCaption(const std::string& name) {
    if (name.rfind("GIF", 0) == 0) return "Objective hint";
    if (name == "Welcome" || name == "Credits" || name == "CreditsOnly") return {};
    return "Vallorn Manual";
}

TSKIHelpWindow::TSKIHelpWindow(std::filesystem::path root) : root_(std::move(root)) {}

TSKIHelpWindow::~TSKIHelpWindow() = default;

bool TSKIHelpWindow::Show(const std::string& name) {
    if (name.empty()) {
        visible_ = false;
        return true;
    }
    const auto file = HelpFileFor(root_, name);
    if (!viewer_) viewer_ = std::make_unique<TSKIHelpViewer>(root_ / "help");
    // A page that is missing opens the viewer's short error page in its place.
    viewer_->Open(file.value_or(root_ / "help" / (name + ".html")));
    caption_ = HelpCaption(name);
    visible_ = true;
    raise_ = true;
    return file.has_value();
}

void TSKIHelpWindow::Draw(float viewWidth, float viewHeight, float dpiScale) {
    if (!visible_ || !viewer_) return;
    // Above the menu bar at the bottom of the view, across its middle but clear of the title
    // screen's menu at the left where the view is wide enough.
    const ImVec2 size(std::min(640.0f * dpiScale, viewWidth - 40),
                      std::max(200.0f, std::min(560.0f * dpiScale, viewHeight - 220 * dpiScale)));
    if (!placed_) {
        const float clear = std::min(std::max((viewWidth - size.x) / 2, 320 * dpiScale),
                                     viewWidth - size.x - 10 * dpiScale);
        ImGui::SetNextWindowPos(ImVec2(std::max(0.0f, clear), 30 * dpiScale));
        ImGui::SetNextWindowSize(size);
        placed_ = true;
    }
    if (raise_) ImGui::SetNextWindowFocus();
    raise_ = false;
    // The caption may be empty: the window keeps one id whatever it shows.
    const std::string title = (caption_.empty() ? std::string(" ") : caption_) + "###Help";
    bool open = true;
    if (ImGui::Begin(title.c_str(), &open, ImGuiWindowFlags_NoCollapse)) {
        probe::Window(caption_.empty() ? "Help" : caption_);
        // Back to the page before a followed link.
        if (viewer_->CanGoBack()) {
            if (ImGui::SmallButton("< Back")) viewer_->Back();
            probe::LastItem("button", "< Back");
            ImGui::Separator();
        }
        viewer_->Draw();
    }
    ImGui::End();
    if (!open) visible_ = false;
}

}  // namespace vallorn
