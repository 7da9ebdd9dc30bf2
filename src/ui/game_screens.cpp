// The main window's side of the title screen and the windows reached from it: which shows
// when, and what their choices start. The rules are the missions' and the profile's own.
#include <cstdio>

#include <imgui.h>

#include "persistence/saved_game.h"
#include "ui/game_window.h"
#include "ui/probe.h"

namespace vallorn {

bool TSKIGameWindow::GameRunning() const {
    return engine_ && engine_->HasGrid() && engine_->Park.ParkMissionIndex != kMissionNone;
}

void TSKIGameWindow::SelectProfile(const std::string& name) {
    TSKIProfile fresh;
    fresh.Name = name;
    std::string error;
    if (!ReadProfile(fresh, folders_.Save, &error)) {
        dialogs_.ShowError("The profile " + name + " cannot be read: " + error);
        return;
    }
    profile_ = std::move(fresh);
    if (missions_) missions_->ApplyProfile();
}

void TSKIGameWindow::ChooseStartupProfile() {
    const std::string name = StartupProfileName(folders_.Save, options_.LastProfile);
    if (!name.empty()) {
        SelectProfile(name);
        ShowTitle();
        return;
    }
    // "Create new" again and again until a profile exists (or the window closes).
    while (profile_.Name.empty() && !closeRequested_) {
        TSKIProfile created;
        if (AskNewProfile(dialogs_, folders_, created)) profile_ = std::move(created);
    }
    if (missions_) missions_->ApplyProfile();
    profileWindow_.Visible = false;
    ShowHelp("Welcome");
    ShowTitle();
}

bool TSKIGameWindow::ScreensShowing() const {
    return title_.Visible || profileWindow_.Visible || campaign_.Visible || sandbox_.Visible ||
           addons_.Visible || loadSave_.Visible || optionsWindow_.Visible;
}

void TSKIGameWindow::HideScreens() {
    title_.Visible = false;
    profileWindow_.Visible = false;
    campaign_.Visible = false;
    sandbox_.Visible = false;
    addons_.Visible = false;
    loadSave_.Visible = false;
    optionsWindow_.Visible = false;
}

void TSKIGameWindow::ShowTitle() {
    HideScreens();
    title_.Show();
    screens_.Objectives.Hide();
    info_.HideAll();
    stats_.Visible = false;
    menuBar_.Visible = false;
    menuBar_.SetState(TSKIMenuButton::Objectives, false);
    menuBar_.SetState(TSKIMenuButton::Help, false);
}

// The campaign map hides the menu bar and the statistics, objectives, profile and load and
// save windows.
void TSKIGameWindow::ShowCampaign() {
    HideScreens();
    menuBar_.Visible = false;
    screens_.Objectives.Hide();
    stats_.Visible = false;
    campaign_.Rebuild(*missions_);
}

void TSKIGameWindow::DrawScreens(float scale) {
    const ImGuiIO& io = ImGui::GetIO();
    const float w = io.DisplaySize.x, h = io.DisplaySize.y;
    if (engine_->HasGrid()) {
        const auto objectives = screens_.Objectives.Draw(*engine_, w, h, scale);
        if (objectives.GotoObjective &&
            size_t(*objectives.GotoObjective) < engine_->Objectives.size()) {
            const TSKIObjective& o = engine_->Objectives[size_t(*objectives.GotoObjective)];
            const TSKIVector p = engine_->CellToWorld(o.GridX, o.GridY, false);
            camera_.TravelTo(glm::vec3(p.x, p.y, p.z), false, toolState_.Tool);
        }
        if (!objectives.Help.empty()) ShowHelp(objectives.Help);
    }
    const auto mission = screens_.Draw(w, h, scale);
    if (mission.Leave) RunAfterFrame([this] { ShowTitle(); });
    if (mission.ContinueCampaign) {
        RunAfterFrame([this] { ShowCampaign(); });
    }

    const TSKITitleEntry entry = title_.Draw(profile_.Name, GameRunning(), w, h, scale);
    if (entry != TSKITitleEntry::None) RunAfterFrame([this, entry] { OnTitleEntry(entry); });

    const auto profileResult = profileWindow_.Draw(!profile_.Name.empty(), w, h, scale);
    if (profileResult.Action != TSKIProfileWindow::TAction::None)
        RunAfterFrame([this, profileResult] { OnProfileAction(profileResult); });

    const auto campaign = campaign_.Draw(profile_, w, h, scale);
    if (campaign.Start) {
        RunAfterFrame([this, index = *campaign.Start, resume = campaign.Resume] {
            StartMission(index, resume);
        });
    } else if (campaign.Closed) {
        RunAfterFrame([this] { ShowTitle(); });
    }

    const auto sandbox = sandbox_.Draw(profile_, w, h, scale);
    if (sandbox.PlayMap) {
        RunAfterFrame(
            [this, map = *sandbox.PlayMap, d = sandbox.Difficulty] { PlaySandbox(map, d); });
    } else if (sandbox.Closed) {
        RunAfterFrame([this] { ShowTitle(); });
    }

    const auto addons = addons_.Draw(w, h, scale);
    if (addons.Link) ShowHelp("Addons");
    if (addons.Play) {
        RunAfterFrame([this, name = *addons.Play] { PlayAddon(name); });
    } else if (addons.Closed) {
        RunAfterFrame([this] { ShowTitle(); });
    }

    const bool canSave = engine_->HasGrid() && !engine_->Level.LevelName.empty();
    const auto loadSave = loadSave_.Draw(canSave, w, h, scale);
    if (loadSave.Action != TSKILoadSaveWindow::TAction::None)
        RunAfterFrame([this, loadSave] { OnLoadSaveAction(loadSave); });
    probe::Value("profile", profile_.Name);
    probe::Value("mission_index", double(engine_->Park.ParkMissionIndex));
    probe::Value("objectives", double(engine_->Objectives.size()));
}

void TSKIGameWindow::OnTitleEntry(TSKITitleEntry entry) {
    switch (entry) {
        case TSKITitleEntry::Campaign:
            ShowCampaign();
            break;
        case TSKITitleEntry::Sandbox:
            HideScreens();
            sandbox_.Show(profile_);
            break;
        case TSKITitleEntry::LoadSave:
            if (!profile_.Name.empty()) {
                HideScreens();
                loadSave_.Fill(profile_.Name, folders_);
                break;
            }
            // Games are saved in a profile's folder: without one, the player picks or makes one.
            [[fallthrough]];
        case TSKITitleEntry::Profile:
            HideScreens();
            profileWindow_.Fill(ListProfiles(folders_.Save), profile_.Name);
            profileWindow_.Visible = true;
            if (profileWindow_.Empty()) OnProfileAction({TSKIProfileWindow::TAction::Create, {}});
            break;
        case TSKITitleEntry::Help:
            ShowHelp("Contents");
            break;
        case TSKITitleEntry::Credits:
            ShowHelp("CreditsOnly");
            break;
        case TSKITitleEntry::Exit:
            closeRequested_ = true;
            break;
        case TSKITitleEntry::Close:
            if (!GameRunning()) break;
            title_.Visible = false;
            menuBar_.Visible = true;
            break;
        case TSKITitleEntry::Addons:
            HideScreens();
            addons_.Show(folders_);
            break;
        case TSKITitleEntry::Options:
            HideScreens();
            optionsWindow_.Show(engine_->Options);
            break;
        case TSKITitleEntry::None:
            break;
    }
}

void TSKIGameWindow::OnProfileAction(const TSKIProfileWindow::TResult& result) {
    using TAction = TSKIProfileWindow::TAction;
    switch (result.Action) {
        case TAction::Create: {
            TSKIProfile created;
            if (AskNewProfile(dialogs_, folders_, created)) {
                profile_ = std::move(created);
                missions_->ApplyProfile();
                ShowTitle();
            }
            break;
        }
        case TAction::Delete:
            if (AskDeleteProfile(dialogs_, folders_, result.Name, profile_)) {
                missions_->ApplyProfile();
                profileWindow_.Fill(ListProfiles(folders_.Save), profile_.Name);
                if (profileWindow_.Empty()) OnProfileAction({TAction::Create, {}});
            }
            break;
        case TAction::Select:
            SelectProfile(result.Name);
            if (!profile_.Name.empty()) ShowTitle();
            break;
        case TAction::Close:
            if (!profile_.Name.empty()) ShowTitle();
            break;
        case TAction::None:
            break;
    }
}

bool TSKIGameWindow::LoadForMission(const std::filesystem::path& file) {
    HideScreens();
    menuBar_.Visible = false;
    return LoadGame(file);
}

void TSKIGameWindow::StartMission(int index, bool resume) {
    // A mission whose file is missing starts nothing.
    if (!missions_->MissionFile(index, resume)) return;
    const TSKIStartResult result = missions_->StartMission(
        index, resume, [this](const std::filesystem::path& file) { return LoadForMission(file); });
    if (result == TSKIStartResult::LoadFailed) campaign_.Rebuild(*missions_);
    // The mission's place in the campaign sets how far the camera may zoom out (the first two
    // missions are kept close): the view opens again within that limit.
    if (result == TSKIStartResult::Started) camera_.SetViewpoint(*engine_, engine_->Viewpoint);
}

void TSKIGameWindow::PlaySandbox(int map, int difficulty) {
    const TSKIStartResult result = missions_->PlaySandbox(
        map, difficulty,
        [this](const std::filesystem::path& file) { return LoadForMission(file); });
    if (result == TSKIStartResult::LoadFailed) {
        sandbox_.Show(profile_);
        return;
    }
    menuBar_.Visible = true;
    Perform(menuBar_.PressSpeed(*engine_, TSKIMenuButton::Speed1));
}

void TSKIGameWindow::PlayAddon(const std::string& name) {
    const TSKIStartResult result = missions_->PlayAddon(
        name, [this](const std::filesystem::path& file) { return LoadForMission(file); });
    if (result != TSKIStartResult::Started) addons_.Show(folders_);
}

void TSKIGameWindow::OnLoadSaveAction(const TSKILoadSaveWindow::TResult& result) {
    using TAction = TSKILoadSaveWindow::TAction;
    // The entries name the files the window listed: every one listed can be acted on.
    const bool entry = !result.Path.empty();
    switch (result.Action) {
        case TAction::Load:
            if (!entry || LoadForMission(result.Path)) break;
            dialogs_.ShowError("Loading failed !\r" + engine_->LoadError);
            loadSave_.Fill(profile_.Name, folders_);
            break;
        case TAction::Save:
            if (!entry) {
                SaveAsNew();
            } else if (dialogs_.AskYesNo("Overwrite existing file ?", false)) {
                std::string error;
                dialogs_.SetBusyCursor(true);
                if (!SaveGameFile(*engine_, result.Path, &error))
                    dialogs_.ShowError("The game could not be saved: " + error);
                dialogs_.SetBusyCursor(false);
            }
            ShowTitle();
            break;
        case TAction::Delete:
            if (entry && dialogs_.AskYesNo("Delete saved game '" + result.Name + "' ?", false)) {
                std::error_code ec;
                if (!std::filesystem::remove(result.Path, ec)) {
                    dialogs_.ShowError("The saved game '" + result.Name +
                                       "' could not be deleted: " +
                                       (ec ? ec.message() : std::string("it is no longer there")));
                }
            }
            loadSave_.Fill(profile_.Name, folders_);
            break;
        case TAction::Close:
            ShowTitle();
            break;
        case TAction::None:
            break;
    }
}

void TSKIGameWindow::SaveAsNew() {
    std::string name = ProposedSaveName(loadSave_.Entries(), *engine_);
    // A refused name brings the box back with what was typed.
    for (;;) {
        const auto typed = dialogs_.InputText("Save game", "Enter file name:", name);
        if (!typed || closeRequested_) return;
        name = *typed;
        std::string error;
        const auto path = SavedGamePath(folders_.Save, profile_.Name, name, &error);
        if (!path) {
            dialogs_.ShowError(error);
            continue;
        }
        std::error_code ec;
        std::filesystem::create_directories(path->parent_path(), ec);
        dialogs_.SetBusyCursor(true);
        const bool saved = SaveGameFile(*engine_, *path, &error);
        dialogs_.SetBusyCursor(false);
        if (saved) return;
        dialogs_.ShowError(error);
    }
}

}  // namespace vallorn
