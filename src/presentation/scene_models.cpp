// The scene's models from the data folder: which file each batch draws, the flip-book figures
// with their skins, the glass pass, the ground shadows and the sky dome. Every batch keeps its
// stand-in made in code for a file that is missing or broken.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

const char* const kKindFolders[kSkierKinds] = {"Skier", "Board", "SkierF"};
const char* const kPoseNames[kFigurePoses] = {"Stand", "Sit", "Ski", "Walk", "Injured"};
const char* const kSignNames[3] = {"SignBlue", "SignRed", "SignBlack"};
constexpr float kDomeScale = 3.01f;

// A shadow blob when "shadow.tga" is missing: dark in the middle, fading to the rim.
void MakeShadowBlob(gl::TTexture& texture) {
    constexpr int kSide = 64;
    std::vector<uint8_t> rgba(size_t(kSide * kSide * 4));
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const float dx = (float(x) + 0.5f) / kSide * 2 - 1,
                        dy = (float(y) + 0.5f) / kSide * 2 - 1;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float a = std::clamp(1.0f - r, 0.0f, 1.0f);
            uint8_t* p = &rgba[size_t((y * kSide + x) * 4)];
            p[0] = p[1] = p[2] = 255;
            p[3] = uint8_t(std::lround(255.0f * a * a * (3 - 2 * a)));
        }
    }
    texture.UploadRgba(kSide, kSide, rgba.data(), true, false);
}

gl::TTexture& ShadowBlob() {
    static gl::TTexture blob;
    if (blob.Id() == 0) MakeShadowBlob(blob);
    return blob;
}

}  // namespace

bool TSKISceneRenderer::TImpl::OnNearCell(const TSKIEngine& engine, const TSKIVector& p) {
    if (!engine.PositionInGrid(p)) return false;
    int i, j;
    TSKIWorld::WorldToCell(p, i, j);
    return engine.Cell(i, j).NearCamera;
}

void TSKISceneRenderer::TImpl::LoadFixedModels() {
    TModelLibrary& lib = Library;
    for (int k = 0; k < 3; ++k) {
        Signs[size_t(k)].Model = lib.Model(kSignNames[k], "Sign.obj");
        if (!Signs[size_t(k)].Model) continue;
        // The difficulty's shape over the sign, so that colour is not the only cue.
        const float top = Signs[size_t(k)].Model->Max().y + 0.6f;
        SignPlates[size_t(k)].Make(Builder, [&](TShapeBuilder& x) { MakeSignPlate(x, k, top); });
    }
    GateOpen.Model = lib.Model("gate", "gate.obj");
    GateClosed.Model = lib.Model("gateClosed", "gateClosed.obj");
    Rotor.Model = lib.Model("HeliRotor", "HeliRotor.obj");
    Snowmobile.Model = lib.Model("RescueScooter", "RescueScooter.obj");
    Helicopter.Model = lib.Model("Heli", "Heli.obj", "HeliGL.obj");
    HelicopterL.Model = lib.Model("HeliLow", "HeliLow.3DS");
    Snowcat.Model = lib.Model("SCatH", "SCatH.obj", "SCatHGL.obj");
    SnowcatL.Model = lib.Model("SCatL", "SCatL.3DS");
    for (int n = 0; n < 10; ++n) {
        const std::string k = std::to_string(n);
        Cars[size_t(n)].Model = lib.Model("car" + k, "car" + k + ".obj");
        Houses[size_t(n)].Model = lib.Model("House" + k, "House" + k + ".obj");
        HousesL[size_t(n)].Model = lib.Model("House" + k + "L", "House" + k + "L.3DS");
    }
    // Trees: each frame of the loop twice, with snowy and with green leaves.
    const gl::TTexture* white = lib.Texture("treeLeafWhite.tga", false, false);
    const gl::TTexture* green = lib.Texture("treeLeafGreen.tga", false, false);
    TModelShape tree;
    tree.FitUnitBox = true;
    TreeModels = true;
    for (int n = 0; n < kTreeFrames && TreeModels; ++n) {
        const std::string file = "treeA" + std::to_string(n) + ".3DS";
        TreeWhite[size_t(n)].Model = lib.Model("treeWhiteA" + std::to_string(n), file, {}, tree);
        TreeGreen[size_t(n)].Model = lib.Model("treeGreenA" + std::to_string(n), file, {}, tree);
        TreeWhite[size_t(n)].Leaves = white;
        TreeGreen[size_t(n)].Leaves = green;
        TreeModels = TreeWhite[size_t(n)].Model && TreeGreen[size_t(n)].Model;
    }
    // Far trees as billboards of the tree image; the forest beyond the edge with the darker one.
    if (const gl::TTexture* mask = lib.Texture("treeMask.tga", false, false)) {
        TreeCard.Make(Builder, [](TShapeBuilder& x) { MakeTreeBillboard(x, palette::kPaint); });
        TreeCard.Texture = mask;
        TreeSheet.SetShape(Builder.Vertices(), Builder.Indices());
    }
    if (const gl::TTexture* mask = lib.Texture("treeMaskL.tga", false, false)) {
        MirrorCard.Make(Builder, [](TShapeBuilder& x) { MakeTreeBillboard(x, palette::kPaint); });
        MirrorCard.Texture = mask;
        MirrorSheet.SetShape(Builder.Vertices(), Builder.Indices());
    } else {
        MirrorCard.Make(Builder, [](TShapeBuilder& x) { MakeTreeCard(x); });
    }
    Shadows.Make(Builder, [](TShapeBuilder& x) { MakeGroundPlate(x); });
    Shadows.Texture = lib.Texture("shadow.tga", true, false);
    if (!Shadows.Texture) Shadows.Texture = &ShadowBlob();
    TModelShape dome;
    dome.Import.Scale = kDomeScale;
    Dome.Model = lib.Model("Dome", "Dome.3DS", {}, dome);
    // The flip-books are there when the first figure is; the skins of every kind.
    FlipBooks = lib.Exists(std::string(kKindFolders[0]) + "/" + kPoseNames[0] + "0.3DS");
    for (int kind = 0; kind < kSkierKinds && FlipBooks; ++kind) {
        for (int n = 0; n < kFigureSkins; ++n) {
            const std::string file =
                std::string(kKindFolders[kind]) + "c" + std::to_string(n) + ".jpg";
            Skins[size_t(kind * kFigureSkins + n)] =
                lib.Exists(file) ? lib.Texture(file, false, true, true) : nullptr;
        }
    }
}

void TSKISceneRenderer::TImpl::LoadParamModels(const TSKIParameters& params) {
    TModelLibrary& lib = Library;
    auto load = [&](TSceneBatch& batch, const std::string& name) {
        batch.Model = nullptr;
        if (name.empty() || !lib.Exists(name + ".obj")) return;
        batch.Model = lib.Model(name, name + ".obj", name + "GL.3DS");
    };
    for (int t = 0; t < kLiftTypeCount; ++t) {
        const TSKILiftParams& type = params.Lifts[size_t(t)];
        TLiftModels& m = Lifts[size_t(t)];
        load(m.Lower, type.ModelHiStart);
        load(m.Upper, type.ModelHiEnd);
        // The footings stand under the parts of the models drawn on the ground.
        if (m.Lower.Model)
            m.LowerFootprint =
                StationFootprint(lib.Vertices(type.ModelHiStart + ".obj"), type.StationHeight);
        if (m.Upper.Model)
            m.UpperFootprint =
                StationFootprint(lib.Vertices(type.ModelHiEnd + ".obj"), type.StationHeight);
        load(m.Pole, type.ModelHiPole);
        load(m.Carrier, type.ModelHiGondole);
        load(m.LowerL, type.ModelLoStart);
        load(m.UpperL, type.ModelLoEnd);
        load(m.PoleL, type.ModelLoPole);
        load(m.CarrierL, type.ModelLoGondole);
        m.Wheel.Model = lib.Model("wheel" + std::to_string(t), "wheel.obj");
    }
    for (int t = 0; t < kBuildingTypeCount; ++t) {
        const TSKIBuildingParams& b = params.Buildings[size_t(t)];
        load(Buildings[size_t(t)], b.ModelHi);
        BuildingsL[size_t(t)].Model = nullptr;
        if (!b.ModelLow.empty() && lib.Exists(b.ModelLow + ".3DS"))
            BuildingsL[size_t(t)].Model = lib.Model(b.ModelLow, b.ModelLow + ".3DS");
    }
    ModelBatches.clear();
    for (auto& lift : Lifts) {
        for (TSceneBatch* batch : {&lift.Carrier, &lift.Lower, &lift.Upper, &lift.Pole, &lift.Wheel,
                                   &lift.CarrierL, &lift.LowerL, &lift.UpperL, &lift.PoleL})
            ModelBatches.push_back(batch);
    }
    for (auto* group : {&Buildings, &BuildingsL})
        for (auto& batch : *group) ModelBatches.push_back(&batch);
    for (auto* group : {&Houses, &HousesL, &Cars})
        for (auto& batch : *group) ModelBatches.push_back(&batch);
    for (TSceneBatch* batch : {&Car, &Snowcat, &SnowcatL, &Snowmobile, &Helicopter, &HelicopterL,
                               &Rotor, &GateOpen, &GateClosed})
        ModelBatches.push_back(batch);
    for (auto& batch : Signs) ModelBatches.push_back(&batch);
    for (auto& batch : SignPlates) ModelBatches.push_back(&batch);
}

TLoadedModel* TSKISceneRenderer::TImpl::FigureModel(int index) {
    if (index < 0 || index >= kFigureModels) return nullptr;
    if (!FigureTried[size_t(index)]) {
        FigureTried[size_t(index)] = true;
        const int frame = index % kFigureFrames;
        const int pose = (index / kFigureFrames) % kFigurePoses;
        const int kind = index / (kFigureFrames * kFigurePoses);
        const std::string file = std::string(kKindFolders[kind]) + "/" + kPoseNames[pose] +
                                 std::to_string(frame) + ".3DS";
        // The figures are modelled facing +x; the game turns them a quarter to face +z.
        TModelShape shape;
        shape.Import.TurnDegrees = -90.0f;
        FigureModels[size_t(index)] = Library.Model(file, file, {}, shape);
    }
    return FigureModels[size_t(index)];
}

void TSKISceneRenderer::TImpl::DrawFigures(TSKISceneStats& stats) {
    if (Figures.empty()) return;
    std::sort(Figures.begin(), Figures.end(),
              [](const TFigure& a, const TFigure& b) { return a.Key < b.Key; });
    for (size_t a = 0; a < Figures.size();) {
        size_t b = a;
        FigureRun.clear();
        while (b < Figures.size() && Figures[b].Key == Figures[a].Key)
            FigureRun.push_back(Figures[b++].Instance);
        const uint32_t key = Figures[a].Key;
        a = b;
        TLoadedModel* model = FigureModel(int(key / kFigureSkins));
        if (!model) continue;
        if (ProxyBudget >= 0) {  // GameMaxProxyCount counts the figures too
            if (FigureRun.size() > size_t(ProxyBudget)) FigureRun.resize(size_t(ProxyBudget));
            ProxyBudget -= int(FigureRun.size());
            if (FigureRun.empty()) continue;
        }
        const int kind = int(key / kFigureSkins) / (kFigureFrames * kFigurePoses);
        TModelPass pass;
        pass.Skin = Skins[size_t(kind * kFigureSkins + int(key % kFigureSkins))];
        model->SetInstances(FigureRun);
        stats.DrawCalls += model->Draw(Programs(), pass);
        stats.Instances += int(FigureRun.size());
    }
}

void TSKISceneRenderer::TImpl::DrawGlass(TSKISceneStats& stats) {
    const TCubeMap* reflection = Library.Reflection();
    if (reflection) reflection->Bind(1);
    LitGlass.Use();
    LitGlass.Set("uReflect", reflection ? 1.0f : 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    TModelPass glass;
    glass.Glass = true;
    for (TSceneBatch* batch : ModelBatches) {
        if (batch->Model && batch->Model->HasGlass() && !batch->Instances.empty())
            stats.DrawCalls += batch->Model->Draw(Programs(), glass);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    Lit.Use();
}

void TSKISceneRenderer::TImpl::DrawShadowsAndDome(const TSKIFrameView& frame,
                                                  TSKISceneStats& stats) {
    (void)frame;
    // Shadows: dark blobs on the ground, blended, without depth writes, pulled toward the eye
    // so that the ground does not cut them.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-2.0f, -8.0f);
    SetAll("uAlphaTest", 0.01f);
    SetAll("uTint", glm::vec4(1.0f, 1.0f, 1.0f, 0.55f));
    const int budget = ProxyBudget;
    ProxyBudget = -1;  // shadows follow their objects, already counted
    DrawBatch(Shadows, stats);
    ProxyBudget = budget;
    SetAll("uTint", glm::vec4(1.0f));
    SetAll("uAlphaTest", 0.5f);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void TSKISceneRenderer::TImpl::DrawDome(const TSKIFrameView& frame, TSKISceneStats& stats) {
    if (!Dome.Model || !Dome.Texture) return;
    // Around the eye, unlit and without fog, at a depth a step short of the far plane: it
    // shows only where nothing else was drawn, and the painted sky drawn at the far plane
    // after it only where it does not.
    UseLit(frame, glm::vec4(1.0f), 1.0f);
    SetAll("uSky", 1.0f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    Dome.Instances.clear();
    Dome.Add(frame.Eye - glm::vec3(0, 40.0f, 0), 0.0f);
    const int budget = ProxyBudget;
    ProxyBudget = -1;
    DrawBatch(Dome, stats);
    ProxyBudget = budget;
    SetAll("uSky", 0.0f);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
}

// The sky dome: a random one of the six skies of the data folder, around the eye.
void TSKISceneRenderer::TImpl::PickDome() {
    if (!Dome.Model) return;
    static std::minstd_rand random(
        uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    unsigned digit = unsigned(random() % 6);
    // VALLORN_SKY=0..5 picks one (the interface tests look for a clear sky).
    if (const char* sky = std::getenv("VALLORN_SKY"); sky && sky[0] >= '0' && sky[0] <= '5')
        digit = unsigned(sky[0] - '0');
    Dome.Texture = Library.Texture("dome" + std::to_string(digit) + ".jpg", false, false);
}

}  // namespace vallorn
