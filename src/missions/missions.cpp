#include "missions/missions.h"

namespace vallorn {

TSKIMissions::TSKIMissions(TSKIEngine& engine, TSKIProfile& profile, IMissionWindows* windows)
    : engine_(engine), profile_(profile), windows_(windows ? windows : &recorded_) {
    engine_.OnShowNewObjectives = [this] { ShowNewObjectives(); };
    engine_.OnEvaluateObjectives = [this](int building, int lift) {
        EvaluateObjectives(building, lift);
    };
    engine_.OnBuilt = [this](int kind, uint8_t type) {
        if (kind == kBuiltBuilding)
            EvaluateObjectives(type, -1);
        else
            EvaluateObjectives(-1, type);
    };
    ApplyProfile();
}

TSKIMissions::~TSKIMissions() {
    engine_.OnShowNewObjectives = nullptr;
    engine_.OnEvaluateObjectives = nullptr;
    engine_.OnBuilt = nullptr;
}

void TSKIMissions::ApplyProfile() {
    engine_.Profile = profile_.Terms.Bounded();
    engine_.ProfileName = profile_.Name;
    engine_.MissionNames.clear();
    for (const TSKIMissionData& m : profile_.Missions) engine_.MissionNames.push_back(m.Name);
}

void TSKIMissions::ProfileChanged() {
    ApplyProfile();
    std::string error;
    if (!WriteProfile(profile_, engine_.Folders.Save, &error)) {
        profileWriteError_ = error;
        engine_.Dialogs->ShowError("The profile could not be saved: " + error);
    }
}

void TSKIMissions::SandboxNotice() {
    if (profile_.SandboxUnlocked && !profile_.SandboxNotifRead) {
        profile_.SandboxNotifRead = true;
        ProfileChanged();
    }
}

}  // namespace vallorn
