#include "ui/editor_file_dialog.h"

#include <imgui.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

#include "base/safe_path.h"
#include "ui/probe.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The entries of `folder` that are folders (or files when `folders` is false), sorted by name.
template <typename Keep>
std::vector<std::string> List(const fs::path& folder, bool folders, Keep keep) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (folders ? !it->is_directory(kind) : !it->is_regular_file(kind)) continue;
        const std::string name = it->path().filename().string();
        if (keep(it->path(), name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::string> ListFolder(const fs::path& folder,
                                    const std::vector<std::string>& extensions) {
    return List(folder, false, [&](const fs::path& path, const std::string&) {
        const std::string ext = Lower(path.extension().string());
        return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
    });
}

std::vector<std::string> ListSubfolders(const fs::path& folder) {
    // Hidden folders stay hidden, as in the player's own file browser.
    return List(folder, true, [](const fs::path&, const std::string& name) {
        return !name.empty() && name[0] != '.';
    });
}

void TSKIEditorFileDialog::Open(const std::string& caption, const fs::path& folder,
                                const TSKIFileFilter& filter, const TSKIFilePlaces& places) {
    open_ = true;
    caption_ = caption;
    filter_ = filter;
    places_ = places;
    Show(folder);
    name_[0] = 0;
    problem_.clear();
}

void TSKIEditorFileDialog::Show(const fs::path& folder) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(folder, ec);
    folder_ = (ec ? folder : absolute).lexically_normal();
    // "a/b/" and "a/b" are one folder: the parent of the first would be "a/b" again.
    if (!folder_.has_filename() && folder_.has_parent_path() && folder_ != folder_.root_path())
        folder_ = folder_.parent_path();
    files_ = ListFolder(folder_, filter_.Extensions);
    subfolders_ = places_.AnyFolder ? ListSubfolders(folder_) : std::vector<std::string>{};
}

bool TSKIEditorFileDialog::Enter(const std::string& subfolder) {
    if (std::find(subfolders_.begin(), subfolders_.end(), subfolder) == subfolders_.end())
        return false;
    Show(folder_ / subfolder);
    return true;
}

bool TSKIEditorFileDialog::Up() {
    if (!places_.AnyFolder || folder_ == folder_.root_path() || !folder_.has_parent_path())
        return false;
    Show(folder_.parent_path());
    return true;
}

bool TSKIEditorFileDialog::GoTo(size_t named) {
    if (named >= places_.Named.size()) return false;
    Show(places_.Named[named].second);
    return true;
}

std::optional<fs::path> TSKIEditorFileDialog::PathFor(std::string name, std::string* why) const {
    const std::string ext = Lower(fs::path(name).extension().string());
    const bool known = std::find(filter_.Extensions.begin(), filter_.Extensions.end(), ext) !=
                       filter_.Extensions.end();
    if (!known && !filter_.DefaultExtension.empty()) name += filter_.DefaultExtension;
    return PathInFolder(folder_, name, {}, why);
}

std::optional<fs::path> TSKIEditorFileDialog::Draw(float scale) {
    if (!open_) return std::nullopt;
    if (!ImGui::IsPopupOpen(caption_.c_str())) ImGui::OpenPopup(caption_.c_str());
    std::optional<fs::path> chosen;
    // Taller by the row of named folders, so that the buttons stay in sight.
    const float height = places_.Named.empty() ? 360.0f : 400.0f;
    ImGui::SetNextWindowSize(ImVec2(420 * scale, height * scale), ImGuiCond_Appearing);
    if (ImGui::BeginPopupModal(caption_.c_str(), nullptr)) {
        // A move is made after the list is drawn: the list being drawn stays as it is.
        std::optional<size_t> goTo;
        std::optional<std::string> enter;
        bool up = false;
        for (size_t k = 0; k < places_.Named.size(); ++k) {
            if (k > 0) ImGui::SameLine();
            if (ImGui::Button(places_.Named[k].first.c_str())) goTo = k;
            probe::LastItem("button", places_.Named[k].first);
        }
        ImGui::TextUnformatted(folder_.string().c_str());
        // The folders in a list of their own, left of the files: a long list of folders never
        // pushes the files out of sight.
        const float listHeight = 220 * scale;
        if (places_.AnyFolder) {
            if (ImGui::BeginListBox("##folders", ImVec2(150 * scale, listHeight))) {
                if (folder_ != folder_.root_path()) {
                    if (ImGui::Selectable("[..]")) up = true;
                    probe::LastItem("folder", "..");
                }
                for (const std::string& f : subfolders_) {
                    if (ImGui::Selectable(("[" + f + "]").c_str())) enter = f;
                    probe::LastItem("folder", f);
                }
                ImGui::EndListBox();
            }
            ImGui::SameLine();
        }
        if (ImGui::BeginListBox("##files", ImVec2(-1, listHeight))) {
            for (const std::string& f : files_) {
                if (ImGui::Selectable(f.c_str(), f == name_)) {
                    std::strncpy(name_, f.c_str(), sizeof name_ - 1);
                }
                probe::LastItem("file", f);
            }
            ImGui::EndListBox();
        }
        if (goTo) GoTo(*goTo);
        if (enter) Enter(*enter);
        if (up) Up();
        ImGui::InputText("File name", name_, sizeof name_);
        probe::LastItem("input", "File name");
        ImGui::TextUnformatted(filter_.Text.c_str());
        if (!problem_.empty()) ImGui::TextColored(ImVec4(1, 0.3f, 0.3f, 1), "%s", problem_.c_str());
        const bool ok = ImGui::Button("OK");
        probe::LastItem("button", "OK");
        ImGui::SameLine();
        if (ImGui::Button("Cancel")) {
            open_ = false;
            ImGui::CloseCurrentPopup();
        }
        probe::LastItem("button", "Cancel");
        if (ok) {
            std::string why;
            if (const auto path = PathFor(name_, &why)) {
                chosen = *path;
                open_ = false;
                ImGui::CloseCurrentPopup();
            } else {
                problem_ = why;
            }
        }
        ImGui::EndPopup();
    }
    return chosen;
}

}  // namespace vallorn
