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

}  // namespace

std::vector<std::string> ListFolder(const fs::path& folder,
                                    const std::vector<std::string>& extensions) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string ext = Lower(it->path().extension().string());
        if (std::find(extensions.begin(), extensions.end(), ext) == extensions.end()) continue;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void TSKIEditorFileDialog::Open(const std::string& caption, const fs::path& folder,
                                const TSKIFileFilter& filter) {
    open_ = true;
    caption_ = caption;
    folder_ = folder;
    filter_ = filter;
    files_ = ListFolder(folder, filter.Extensions);
    name_[0] = 0;
    problem_.clear();
}

std::optional<fs::path> TSKIEditorFileDialog::Draw(float scale) {
    if (!open_) return std::nullopt;
    if (!ImGui::IsPopupOpen(caption_.c_str())) ImGui::OpenPopup(caption_.c_str());
    std::optional<fs::path> chosen;
    ImGui::SetNextWindowSize(ImVec2(420 * scale, 360 * scale), ImGuiCond_Appearing);
    if (ImGui::BeginPopupModal(caption_.c_str(), nullptr)) {
        ImGui::TextUnformatted(folder_.string().c_str());
        if (ImGui::BeginListBox("##files", ImVec2(-1, 220 * scale))) {
            for (const std::string& f : files_) {
                if (ImGui::Selectable(f.c_str(), f == name_)) {
                    std::strncpy(name_, f.c_str(), sizeof name_ - 1);
                }
                probe::LastItem("file", f);
            }
            ImGui::EndListBox();
        }
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
            std::string name = name_;
            const std::string ext = Lower(fs::path(name).extension().string());
            const bool known = std::find(filter_.Extensions.begin(), filter_.Extensions.end(),
                                         ext) != filter_.Extensions.end();
            if (!known && !filter_.DefaultExtension.empty()) name += filter_.DefaultExtension;
            std::string why;
            const auto path = PathInFolder(folder_, name, {}, &why);
            if (!path) {
                problem_ = why;
            } else {
                chosen = *path;
                open_ = false;
                ImGui::CloseCurrentPopup();
            }
        }
        ImGui::EndPopup();
    }
    return chosen;
}

}  // namespace vallorn
