#include "presentation/scene_renderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <glm/geometric.hpp>

#include "presentation/dots.h"
#include "presentation/point_shader.h"
#include "presentation/scene_impl.h"
#include "presentation/terrain_renderer.h"

namespace vallorn {
namespace {

// The models' shader, built three times: plain (vertex colours), TEXTURED (an image, alpha
// tested) and GLASS (transparent, reflecting the cube map). Only the variants that need them
// carry texture coordinates and world positions: a software rasteriser pays for every one.
const char* kLitVertex = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUV;
layout(location = 3) in vec4 aColor;
layout(location = 4) in vec4 iPosYaw;
layout(location = 5) in vec4 iScale;
layout(location = 6) in vec4 iColor;
uniform mat4 uViewProjection;
uniform vec3 uEye;
uniform vec3 uLight;
uniform vec4 uTint;
uniform vec2 uFogRange;
uniform float uUnlit;
uniform float uSky;  // the dome: no fog, a step of depth short of the far plane
uniform float uTwoSided;  // leaves: lit from either side
out vec3 vColor;
out float vFog;
#ifdef TEXTURED
out vec2 vUV;
#endif
#ifdef GLASS
out vec3 vWorld;
out vec3 vNormal;
#endif
void main() {
    float c = cos(iPosYaw.w), s = sin(iPosYaw.w);
    vec3 p = aPos * iScale.xyz;
    vec3 w = vec3(c * p.x + s * p.z, p.y, -s * p.x + c * p.z) + iPosYaw.xyz;
    vec3 n = normalize(vec3(c * aNormal.x + s * aNormal.z, aNormal.y,
                            -s * aNormal.x + c * aNormal.z));
    vec3 base = aColor.a < 0.5 ? iColor.rgb : aColor.rgb;
    float facing = dot(n, uLight);
    float light = 0.52 + 0.55 * max(mix(facing, abs(facing), uTwoSided), 0.0) + 0.1 * n.y;
    vColor = base * mix(light, 1.0, uUnlit) * uTint.rgb;
    float d = distance(w, uEye);
    vFog = clamp((d - uFogRange.x) / max(uFogRange.y - uFogRange.x, 1.0), 0.0, 1.0) * (1.0 - uSky);
#ifdef TEXTURED
    vUV = aUV;
#endif
#ifdef GLASS
    vWorld = w;
    vNormal = n;
#endif
    gl_Position = uViewProjection * vec4(w, 1.0);
    if (uSky > 0.5) gl_Position.z = gl_Position.w * (1.0 - 1.0 / 4194304.0);
}
)";

const char* kLitFragment = R"(
in vec3 vColor;
in float vFog;
uniform vec3 uFog;
uniform vec4 uTint;
out vec4 fragColor;
#ifdef TEXTURED
in vec2 vUV;
uniform sampler2D uTexture;
uniform float uAlphaTest;
#endif
#ifdef GLASS
in vec3 vWorld;
in vec3 vNormal;
uniform vec3 uEye;
uniform samplerCube uReflection;
uniform float uReflect;
#endif
void main() {
    vec4 c = vec4(vColor, uTint.a);
#ifdef TEXTURED
    vec4 t = texture(uTexture, vUV);
    if (t.a < uAlphaTest) discard;
    c *= t;
#endif
#ifdef GLASS
    // The material's blue, half transparent, mixed with the reflected sky.
    vec3 r = reflect(normalize(vWorld - uEye), normalize(vNormal));
    vec3 env = uReflect > 0.5 ? texture(uReflection, r).rgb : vec3(0.78, 0.84, 0.92);
    c = vec4(mix(vec3(0.039, 0.039, 0.977), env, 0.55) * (0.6 + 0.4 * vColor.b), 0.5);
#endif
    fragColor = vec4(mix(c.rgb, uFog, vFog), c.a);
}
)";

// The terrain's fog, so that models fade into the same haze as the ground under them.
const glm::vec3 kFogColor(kFogRed, kFogGreen, kFogBlue);

}  // namespace

void TSKISceneRenderer::TImpl::BuildFixedModels() {
    TShapeBuilder& b = Builder;
    ConiferSnowy.Make(b, [](TShapeBuilder& x) { MakeConifer(x, true); });
    ConiferGreen.Make(b, [](TShapeBuilder& x) { MakeConifer(x, false); });
    TreeCard.Make(b, [](TShapeBuilder& x) { MakeTreeCard(x); });
    for (int kind = 0; kind < kSkierKinds; ++kind) {
        for (int pose = 0; pose < kSkierPoses; ++pose) {
            Skiers[size_t(kind * kSkierPoses + pose)].Make(
                b, [&](TShapeBuilder& x) { MakeSkier(x, TSkierKind(kind), TSkierPose(pose)); });
        }
    }
    DistantSkiers.Make(b, [](TShapeBuilder& x) { MakeDistantSkier(x); });
    GateOpen.Make(b, [](TShapeBuilder& x) { MakeGate(x, false); });
    GateClosed.Make(b, [](TShapeBuilder& x) { MakeGate(x, true); });
    for (int k = 0; k < int(Houses.size()); ++k)
        Houses[size_t(k)].Make(b, [k](TShapeBuilder& x) { MakeHouse(x, k); });
    Car.Make(b, [](TShapeBuilder& x) { MakeCar(x); });
    Snowcat.Make(b, [](TShapeBuilder& x) { MakeSnowcat(x); });
    Snowmobile.Make(b, [](TShapeBuilder& x) { MakeSnowmobile(x); });
    Helicopter.Make(b, [](TShapeBuilder& x) { MakeHelicopter(x); });
    Rotor.Make(b, [](TShapeBuilder& x) { MakeRotor(x); });
    for (int k = 0; k < 3; ++k) Signs[size_t(k)].Make(b, [k](TShapeBuilder& x) { MakeSign(x, k); });
    CrowdDots.Primitive = OverlayDots.Primitive = Snow.Primitive = GL_POINTS;
    Cables.Primitive = Ropes.Primitive = ToolLines.Primitive = GL_LINES;
    StationBanks.Primitive = GL_TRIANGLES;
}

void TSKISceneRenderer::TImpl::BuildParamModels(const TSKIParameters& params) {
    TShapeBuilder& b = Builder;
    for (int t = 0; t < kLiftTypeCount; ++t) {
        const TSKILiftParams& type = params.Lifts[size_t(t)];
        TLiftModels& m = Lifts[size_t(t)];
        m.Carrier.Make(b, [&](TShapeBuilder& x) { MakeCarrier(x, type, uint8_t(t)); });
        m.Lower.Make(b, [&](TShapeBuilder& x) { MakeStation(x, type, false); });
        m.LowerFootprint = StationFootprint(b.Vertices(), type.StationHeight);
        m.Upper.Make(b, [&](TShapeBuilder& x) { MakeStation(x, type, true); });
        m.UpperFootprint = StationFootprint(b.Vertices(), type.StationHeight);
        m.Pole.Make(b, [&](TShapeBuilder& x) { MakePole(x, type); });
        m.Wheel.Make(b, [&](TShapeBuilder& x) { MakeWheel(x, type); });
    }
    for (int t = 0; t < kBuildingTypeCount; ++t) {
        Buildings[size_t(t)].Make(
            b, [&](TShapeBuilder& x) { MakeBuilding(x, uint8_t(t), params.Buildings[size_t(t)]); });
    }
    LoadParamModels(params);
    ModelsForParams = true;
}

void TSKISceneRenderer::TImpl::UseLit(const TSKIFrameView& frame, const glm::vec4& tint,
                                      float unlit) {
    for (gl::TProgram* p : {&LitGlass, &LitTextured, &Lit}) {
        p->Use();
        p->Set("uViewProjection", frame.ViewProjection);
        p->Set("uEye", frame.Eye);
        p->Set("uLight", kSunDirection);
        p->Set("uTint", tint);
        p->Set("uFog", kFogColor);
        glUniform2f(p->Location("uFogRange"), kFogStart, kFogEnd);
        p->Set("uUnlit", unlit);
        p->Set("uSky", 0.0f);
        p->Set("uTwoSided", 0.0f);
        p->Set("uAlphaTest", 0.5f);
        p->Set("uTexture", 0);
        p->Set("uReflection", 1);
    }
}

void TSKISceneRenderer::TImpl::DrawBatch(TSceneBatch& batch, TSKISceneStats& stats) {
    if (batch.Instances.empty()) return;
    // GameMaxProxyCount: no more copies of models in the view than that (a negative budget
    // counts nothing: billboards and shadows).
    if (ProxyBudget >= 0) {
        if (batch.Instances.size() > size_t(ProxyBudget))
            batch.Instances.resize(size_t(ProxyBudget));
        ProxyBudget -= int(batch.Instances.size());
        if (batch.Instances.empty()) return;
    }
    if (batch.Model) {
        batch.Model->SetInstances(batch.Instances);
        TModelPass pass;
        pass.LeafTexture = batch.Leaves;
        pass.Skin = batch.Texture;
        stats.DrawCalls += batch.Model->Draw(Programs(), pass);
    } else {
        if (batch.Mesh.Empty()) return;
        if (batch.Texture) batch.Texture->Bind(0);
        (batch.Texture ? LitTextured : Lit).Use();
        batch.Mesh.UploadInstances(batch.Instances);
        batch.Mesh.DrawInstanced();
        ++stats.DrawCalls;
    }
    stats.Instances += int(batch.Instances.size());
}

void TSKISceneRenderer::TImpl::DrawCards(TSceneBatch& cards, TCardSheet& sheet,
                                         const TSKIFrameView& frame, TSKISceneStats& stats) {
    if (cards.Instances.empty()) return;
    if (!cards.Texture || !sheet.HasShape()) {
        DrawBatch(cards, stats);
        return;
    }
    stats.DrawCalls += sheet.Draw(cards.Instances, *cards.Texture, frame);
    stats.Instances += int(cards.Instances.size());
}

void TSKISceneRenderer::TImpl::DrawBorrowed(TSceneBatch& batch,
                                            std::vector<gl::TInstance>& instances,
                                            TSKISceneStats& stats) {
    std::swap(batch.Instances, instances);
    DrawBatch(batch, stats);
    std::swap(batch.Instances, instances);
}

void TSKISceneRenderer::TImpl::DrawPrimitives(TScenePrimitives& p, TSKISceneStats& stats) {
    if (p.Vertices.empty()) return;
    if (p.Changed) p.Mesh.Upload(p.Vertices, p.Indices, p.Primitive);
    p.Changed = false;
    // Without an instance buffer the per-instance attributes are constants: no turn, unit
    // scale, white.
    glVertexAttrib4f(4, 0, 0, 0, 0);
    glVertexAttrib4f(5, 1, 1, 1, 0);
    glVertexAttrib4f(6, 1, 1, 1, 1);
    p.Mesh.Draw();
    ++stats.DrawCalls;
}

void TSKISceneRenderer::TImpl::CollectPoints(const TSKIEngine& engine, const TSKIViewState& view) {
    CrowdDots.Clear();
    OverlayDots.Clear();
    Snow.Clear();
    const TSKIViewDots dots = CollectDots(engine, view.OverlayMode, DetailedSkiers, DrawnVehicles);
    for (const auto& dot : dots.Crowd)
        CrowdDots.Vertex(Vec3(dot.Position), {dot.Color.r, dot.Color.g, dot.Color.b, 255});
    for (const auto& dot : dots.Overlay)
        OverlayDots.Vertex(Vec3(dot.Position), {dot.Color.r, dot.Color.g, dot.Color.b, dot.Shape});
    if (view.Snowfall.Visible) {
        const TSKIVector& c = view.Snowfall.Color;
        const TShapeColor color{uint8_t(std::clamp(c.x, 0.0f, 1.0f) * 255.0f),
                                uint8_t(std::clamp(c.y, 0.0f, 1.0f) * 255.0f),
                                uint8_t(std::clamp(c.z, 0.0f, 1.0f) * 255.0f), 255};
        for (const TSKIVector& flake : view.Snowfall.Flakes) Snow.Vertex(Vec3(flake), color);
    }
}

TSKISceneRenderer::TSKISceneRenderer() : impl_(std::make_unique<TImpl>()) {}
TSKISceneRenderer::~TSKISceneRenderer() = default;

bool TSKISceneRenderer::Init(const std::filesystem::path& dataFolder, std::string* error) {
    std::string log;
    auto fail = [&](const char* what) {
        if (error) *error = std::string("The ") + what + " shader did not build: " + log;
        return false;
    };
    if (!impl_->Sky.Init(&log)) return fail("sky");
    const std::string version = "#version 330 core\n";
    for (const auto& [program, define] :
         {std::pair{&impl_->Lit, ""}, std::pair{&impl_->LitTextured, "#define TEXTURED 1\n"},
          std::pair{&impl_->LitGlass, "#define GLASS 1\n"}}) {
        const std::string vertex = version + define + kLitVertex;
        const std::string fragment = version + define + kLitFragment;
        if (!program->Build(vertex.c_str(), fragment.c_str(), &log)) return fail("scene");
    }
    if (!impl_->Points.Build(kPointVertex, kPointFragment, &log)) return fail("point");
    if (!impl_->TreeSheet.Init(&log) || !impl_->MirrorSheet.Init(&log)) return fail("tree card");
    impl_->BuildFixedModels();
    impl_->Library.SetFolder(dataFolder);
    impl_->LoadFixedModels();
    return true;
}

void TSKISceneRenderer::LevelChanged(const TSKIEngine& engine) {
    impl_->BuildParamModels(engine.Params);
    impl_->PickDome();
    impl_->BuildTreeBlocks(engine);
    impl_->TreeVariants.clear();
    impl_->CableSignature = 0;
}

void TSKISceneRenderer::DrawBeforeGround(const TSKIEngine& engine, const TSKIViewState& view,
                                         const TSKIToolState& tools, const TSKIFrameView& frame,
                                         double seconds) {
    stats_ = {};
    TImpl& m = *impl_;
    m.Collected = false;
    if (!engine.HasGrid()) return;
    if (!m.ModelsForParams) m.BuildParamModels(engine.Params);
    if (m.TreeBlocks.empty()) m.BuildTreeBlocks(engine);
    m.Shadows.Instances.clear();
    m.CollectTrees(engine, view, tools, frame);
    m.CollectMirroredTrees(engine, view, frame);
    m.CollectLifts(engine, view, frame);
    m.CollectBuildings(engine, frame);
    m.CollectSkiers(engine, view, frame);
    m.CollectAvatar(tools, seconds);
    m.CollectTools(engine, tools);
    m.CollectPoints(engine, view);
    m.Collected = true;

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    m.UseLit(frame, glm::vec4(1.0f), 0.0f);
    // The copy limit leaves out trees first: they get what the other models, drawn after
    // the ground, leave of it.
    size_t others = m.Avatar.Instances.size() + m.Figures.size() +
                    m.DistantSkiers.Instances.size() + m.ConiferSnowy.Instances.size() +
                    m.ConiferGreen.Instances.size();
    for (const TSceneBatch* batch : m.ModelBatches) others += batch->Instances.size();
    for (const TSceneBatch& batch : m.Skiers) others += batch.Instances.size();
    m.ProxyBudget = int(std::max<int64_t>(
        0, int64_t(std::max(0, engine.Params.Game.MaxProxyCount)) - int64_t(others)));
    // Tree models were collected back to front; drawn front to back (each frame's copies,
    // and the frames by their nearest copy), the depth test turns away the hidden leaves
    // before they are shaded. Before the ground: the ground behind their leaves is not
    // shaded either.
    std::array<std::pair<float, TSceneBatch*>, 2 * kTreeFrames> treeOrder;
    size_t treeBatches = 0;
    for (auto* trees : {&m.TreeWhite, &m.TreeGreen}) {
        for (auto& batch : *trees) {
            if (batch.Instances.empty()) continue;
            std::reverse(batch.Instances.begin(), batch.Instances.end());
            const gl::TInstance& n = batch.Instances.front();
            const glm::vec3 away = glm::vec3(n.X, n.Y, n.Z) - frame.Eye;
            treeOrder[treeBatches++] = {glm::dot(away, away), &batch};
        }
    }
    std::sort(treeOrder.begin(), treeOrder.begin() + long(treeBatches));
    for (size_t k = 0; k < treeBatches; ++k) m.DrawBatch(*treeOrder[k].second, stats_);
}

void TSKISceneRenderer::Draw(const TSKIEngine& engine, const TSKIViewState& view,
                             const TSKIToolState& tools, const TSKIFrameView& frame,
                             double seconds) {
    (void)seconds;
    TImpl& m = *impl_;
    // The dome first, where the ground left the sky: the painted sky after it fills only
    // what the dome does not cover (below its rim), not every pixel of the sky twice.
    if (engine.HasGrid()) m.DrawDome(frame, stats_);
    m.Sky.Draw(frame);
    ++stats_.DrawCalls;
    if (!engine.HasGrid() || !m.Collected) return;

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);

    // Solid models, the nearest kinds first so that the copy limit leaves out trees first.
    m.ProxyBudget = std::max(0, engine.Params.Game.MaxProxyCount);
    // The banks under the stations in the colours of the ground they stand for, unlit.
    m.UseLit(frame, glm::vec4(1.0f), 1.0f);
    m.DrawPrimitives(m.StationBanks, stats_);
    m.UseLit(frame, glm::vec4(1.0f), 0.0f);
    m.DrawBatch(m.Avatar, stats_);
    for (TSceneBatch* batch : m.ModelBatches) m.DrawBatch(*batch, stats_);
    m.DrawFigures(stats_);
    // Figures standing or skiing on the snow are closed shapes seen from above and around,
    // never from below or inside: the rasteriser leaves out their back faces. Seated ones are
    // drawn whole (their skis hang in the air, seen from under the chair).
    for (int k = 0; k < int(m.Skiers.size()); ++k) {
        const bool seated = k % kSkierPoses == int(TSkierPose::Seated);
        if (!seated) glEnable(GL_CULL_FACE);
        m.DrawBatch(m.Skiers[size_t(k)], stats_);
        glDisable(GL_CULL_FACE);
    }
    glEnable(GL_CULL_FACE);
    m.DrawBatch(m.DistantSkiers, stats_);
    glDisable(GL_CULL_FACE);
    for (TSceneBatch* batch : {&m.ConiferSnowy, &m.ConiferGreen}) m.DrawBatch(*batch, stats_);
    m.DrawGlass(stats_);
    m.DrawShadowsAndDome(frame, stats_);
    m.UseLit(frame, glm::vec4(1.0f), 1.0f);
    m.DrawPrimitives(m.Cables, stats_);
    m.DrawPrimitives(m.Ropes, stats_);

    // Far trees: flat alpha-tested cards facing the camera, front to back with depth writes
    // so that the near ones hide the rest from the rasteriser; the forest beyond the edge
    // after them.
    m.ProxyBudget = -1;
    if (!m.TreeCard.Texture) m.UseLit(frame, glm::vec4(1.0f), 0.0f);
    m.DrawCards(m.TreeCard, m.TreeSheet, frame, stats_);
    m.DrawCards(m.MirrorCard, m.MirrorSheet, frame, stats_);
    glDepthMask(GL_FALSE);

    // Dots and falling snow.
    m.Points.Use();
    m.Points.Set("uViewProjection", frame.ViewProjection);
    glEnable(GL_PROGRAM_POINT_SIZE);
    const TDotSizes sizes = DotSizes(frame.Width);
    m.Points.Set("uSize", sizes.Crowd);
    m.DrawPrimitives(m.CrowdDots, stats_);
    m.Points.Set("uSize", sizes.Overlay);
    glDepthMask(GL_TRUE);
    m.DrawPrimitives(m.OverlayDots, stats_);
    glDepthMask(GL_FALSE);
    m.Points.Set("uSize", std::max(1.0f, view.Snowfall.PointSize));
    m.DrawPrimitives(m.Snow, stats_);

    // Tool previews: lines over everything near, ghosts half transparent.
    m.UseLit(frame, glm::vec4(1.0f), 1.0f);
    glDepthFunc(GL_ALWAYS);
    m.DrawPrimitives(m.ToolLines, stats_);
    glDepthFunc(GL_LESS);
    const bool invalid = tools.ToolTextColor == kToolTextRed;
    const glm::vec4 ghost =
        invalid ? glm::vec4(1.0f, 0.35f, 0.3f, 0.55f) : glm::vec4(0.55f, 1.0f, 0.6f, 0.6f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    m.UseLit(frame, ghost, 0.0f);
    // Ghosts: depth first, then colour on the nearest surface only, so that no inner face
    // shows through.
    glDepthMask(GL_TRUE);
    for (int pass = 0; pass < 2; ++pass) {
        glColorMask(pass == 1, pass == 1, pass == 1, pass == 1);
        glDepthFunc(pass == 0 ? GL_LESS : GL_LEQUAL);
        if (m.PreviewLiftType >= 0 && m.PreviewLiftType < kLiftTypeCount) {
            m.DrawBorrowed(m.Lifts[size_t(m.PreviewLiftType)].Pole, m.PreviewPoles, stats_);
            m.DrawBorrowed(m.Lifts[size_t(m.PreviewLiftType)].Lower, m.PreviewStations, stats_);
        }
        if (m.PreviewBuildingType >= 0 && m.PreviewBuildingType < kBuildingTypeCount)
            m.DrawBorrowed(m.Buildings[size_t(m.PreviewBuildingType)], m.PreviewBuilding, stats_);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    glDisable(GL_BLEND);
    glDisable(GL_PROGRAM_POINT_SIZE);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glBindVertexArray(0);
    glUseProgram(0);
}

}  // namespace vallorn
