// The scene renderer's insides, shared by the files that fill its batches: the shaders, the
// models as instanced meshes, the per-frame instance lists (kept between frames so that a
// frame allocates nothing once they have grown) and the cached cable lines.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/params.h"
#include "construction/tool_state.h"
#include "engine/engine.h"
#include "presentation/card_sheet.h"
#include "presentation/frame.h"
#include "presentation/gl.h"
#include "presentation/model_library.h"
#include "presentation/scene_renderer.h"
#include "presentation/scene_rules.h"
#include "presentation/shapes_mesh.h"
#include "presentation/shapes_models.h"
#include "presentation/sky_renderer.h"
#include "presentation/station_bank.h"

namespace vallorn {

// One model and the copies of it this frame.
struct TSceneBatch {
    gl::TMesh Mesh;                         // the stand-in made in code
    TLoadedModel* Model = nullptr;          // the data folder's model, drawn when there is one
    const gl::TTexture* Texture = nullptr;  // of the stand-in (billboards, shadows)
    const gl::TTexture* Leaves = nullptr;   // of the model's leaves (trees)
    std::vector<gl::TInstance> Instances;
    // Builds the mesh from whatever `build` adds to a fresh builder.
    template <class F>
    void Make(TShapeBuilder& builder, F&& build) {
        builder.Clear();
        build(builder);
        Mesh.Upload(builder.Vertices(), builder.Indices());
    }
    void Add(const glm::vec3& p, float yaw, const glm::vec3& scale = glm::vec3(1.0f),
             TShapeColor paint = {}) {
        gl::TInstance k;
        k.X = p.x;
        k.Y = p.y;
        k.Z = p.z;
        k.Yaw = yaw;
        k.SX = scale.x;
        k.SY = scale.y;
        k.SZ = scale.z;
        k.R = paint.R;
        k.G = paint.G;
        k.B = paint.B;
        k.A = paint.A;
        Instances.push_back(k);
    }
};

// A list of coloured points or line vertices drawn in one call.
struct TScenePrimitives {
    gl::TMesh Mesh;
    std::vector<gl::TVertex> Vertices;
    std::vector<uint32_t> Indices;
    GLenum Primitive = GL_POINTS;
    bool Changed = true;  // the vertices differ from what the buffer holds
    void Clear() {
        Vertices.clear();
        Indices.clear();
        Changed = true;
    }
    void Vertex(const glm::vec3& p, TShapeColor c) {
        gl::TVertex v;
        v.X = p.x;
        v.Y = p.y;
        v.Z = p.z;
        v.R = c.R;
        v.G = c.G;
        v.B = c.B;
        v.A = c.A;
        Indices.push_back(uint32_t(Vertices.size()));
        Vertices.push_back(v);
    }
    // A segment (for GL_LINES).
    void Line(const glm::vec3& a, const glm::vec3& b, TShapeColor c) {
        Vertex(a, c);
        Vertex(b, c);
    }
};

// Per lift type: carrier, stations, pole, wheel; the low-detail models of each (used away
// from the camera when their file exists).
struct TLiftModels {
    TSceneBatch Carrier, Lower, Upper, Pole, Wheel;
    TSceneBatch CarrierL, LowerL, UpperL, PoleL;
    // What of each station stands on the ground (from the model drawn near the camera).
    TStationFootprint LowerFootprint, UpperFootprint;
};

// The skier flip-books: kinds x poses x frames models, each file loaded on first use.
constexpr int kFigurePoses = 5;  // Stand, Sit, Ski, Walk, Injured
constexpr int kFigureFrames = 20;
constexpr int kFigureSkins = 9;
constexpr int kFigureModels = kSkierKinds * kFigurePoses * kFigureFrames;

// The yaw that turns a model's +z toward a horizontal direction.
inline float YawOf(float dx, float dz) {
    return (dx == 0.0f && dz == 0.0f) ? 0.0f : std::atan2(dx, dz);
}
inline glm::vec3 Vec3(const TSKIVector& v) {
    return glm::vec3(v.x, v.y, v.z);
}

struct TSKISceneRenderer::TImpl {
    TSkyRenderer Sky;
    gl::TProgram Lit, LitTextured, LitGlass, Points;
    TModelPrograms Programs() { return {&Lit, &LitTextured, &LitGlass}; }
    // Sets a uniform of the three model programs; the plain one is in use after.
    template <class T>
    void SetAll(const char* name, const T& value) {
        for (gl::TProgram* p : {&LitGlass, &LitTextured, &Lit}) {
            p->Use();
            p->Set(name, value);
        }
    }
    TShapeBuilder Builder;

    TModelLibrary Library;
    TSceneBatch ConiferSnowy, ConiferGreen, TreeCard, MirrorCard;
    // The textured cards drawn in one call each (card_sheet.h); without their picture the
    // cards are instanced models.
    TCardSheet TreeSheet, MirrorSheet;
    void DrawCards(TSceneBatch& cards, TCardSheet& sheet, const TSKIFrameView& frame,
                   TSKISceneStats& stats);
    // The tree models of the data folder: a frame of the swaying loop per variant, snowy and
    // green leaves.
    std::array<TSceneBatch, kTreeFrames> TreeWhite, TreeGreen;
    bool TreeModels = false;
    TSceneBatch Shadows, Dome;
    // Skier figures of the flip-books, sorted by model and skin before drawing.
    struct TFigure {
        uint32_t Key = 0;  // model * kFigureSkins + skin
        gl::TInstance Instance;
    };
    std::vector<TFigure> Figures;
    std::vector<gl::TInstance> FigureRun;
    std::array<TLoadedModel*, kFigureModels> FigureModels{};
    std::array<bool, kFigureModels> FigureTried{};
    std::array<const gl::TTexture*, kSkierKinds * kFigureSkins> Skins{};
    bool FlipBooks = false;
    TLoadedModel* FigureModel(int index);
    void DrawFigures(TSKISceneStats& stats);
    int ProxyBudget = 0;  // instanced copies of models still allowed this frame
    std::array<TSceneBatch, kSkierKinds * kSkierPoses> Skiers;
    // The free-ride avatar: its walking and skiing animations, played interpolated at their
    // own pace, and the tucked shape; drawn before the other models.
    struct TAvatarModels {
        bool Tried = false;
        TAnimatedModel *Walk = nullptr, *Ski = nullptr;
        TLoadedModel* Egg = nullptr;
        const gl::TTexture* Skin = nullptr;
        double WalkFrame = 0, SkiFrame = 0;  // in key frames
        double LastSeconds = -1;
        TSKIAvatarModel Shown = TSKIAvatarModel::Walking;
    } AvatarModels;
    TSceneBatch Avatar;
    TSceneBatch DistantSkiers;  // standing and skiing figures farther off
    std::array<TLiftModels, kLiftTypeCount> Lifts;
    TSceneBatch GateOpen, GateClosed;
    std::array<TSceneBatch, kBuildingTypeCount> Buildings;
    std::array<TSceneBatch, 10> Houses;
    std::array<TSceneBatch, kBuildingTypeCount> BuildingsL;
    std::array<TSceneBatch, 10> HousesL, Cars;
    TSceneBatch Car, Snowcat, Snowmobile, Helicopter, Rotor, SnowcatL, HelicopterL;
    std::array<TSceneBatch, 3> Signs, SignPlates;
    // Every batch of models, for the solid and the glass passes.
    std::vector<TSceneBatch*> ModelBatches;
    // The building preview gets its own list: it is drawn tinted, after the rest.
    std::vector<gl::TInstance> PreviewPoles, PreviewStations, PreviewBuilding;
    int PreviewLiftType = -1, PreviewBuildingType = -1;
    // Draws a batch's model with another list of instances.
    void DrawBorrowed(TSceneBatch& batch, std::vector<gl::TInstance>& instances,
                      TSKISceneStats& stats);

    bool Collected = false;  // this frame's models are collected (DrawBeforeGround)
    TScenePrimitives Cables, Ropes, ToolLines, CrowdDots, OverlayDots, Snow;
    TScenePrimitives StationBanks;  // the snow under the lifts' stations, made with the cables
    // What this view chose to draw, which the dots follow: a skier drawn as a detailed figure
    // and a vehicle drawn as a model get no dot (by index, rebuilt every frame).
    std::vector<uint8_t> DetailedSkiers, DrawnVehicles;
    // The trees' animation frame of every cell, started from the level's and stepped here.
    std::vector<uint8_t> TreeVariants;
    // The park's tree-animation ticks already shown (the core counts them up).
    uint32_t TreeStepsShown = 0;
    uint64_t CableSignature = 0;
    bool ModelsForParams = false;
    // Square blocks of cells with a bounding sphere each, so that the tree pass looks only
    // at cells of blocks in view.
    // Each keeps a compact copy of its trees, row by row, refreshed in turn (one block a
    // frame) and at once under the construction cursor, where trees are planted and felled.
    struct TTreeRecord {
        uint32_t Cell = 0;
        glm::vec3 Position{0.0f}, Scale{1.0f};
        float Yaw = 0;
        bool Snowy = false;
    };
    struct TTreeBlock {
        glm::vec3 Centre{0.0f};
        float Radius = 0;
        int I0 = 0, J0 = 0, I1 = 0, J1 = 0;
        std::vector<TTreeRecord> Trees;
        std::vector<uint32_t> RowStart;  // first tree of each row, and the end
    };
    std::vector<TTreeBlock> TreeBlocks;
    int TreeBlocksPerSide = 0;
    size_t TreeRefreshTurn = 0;
    void BuildTreeBlocks(const TSKIEngine& engine);
    void RefreshTreeBlock(const TSKIEngine& engine, TTreeBlock& block);

    void BuildFixedModels();
    void BuildParamModels(const TSKIParameters& params);
    void LoadFixedModels();
    void LoadParamModels(const TSKIParameters& params);
    void DrawBatch(TSceneBatch& batch, TSKISceneStats& stats);
    void DrawGlass(TSKISceneStats& stats);
    void DrawShadowsAndDome(const TSKIFrameView& frame, TSKISceneStats& stats);
    void DrawDome(const TSKIFrameView& frame, TSKISceneStats& stats);
    void PickDome();
    void DrawPrimitives(TScenePrimitives& p, TSKISceneStats& stats);
    void UseLit(const TSKIFrameView& frame, const glm::vec4& tint, float unlit);

    // The passes (scene_*.cpp, trees_*.cpp, cursor_*.cpp).
    void CollectLifts(const TSKIEngine& engine, const TSKIViewState& view,
                      const TSKIFrameView& frame);
    void CollectBuildings(const TSKIEngine& engine, const TSKIFrameView& frame);
    void CollectSkiers(const TSKIEngine& engine, const TSKIViewState& view,
                       const TSKIFrameView& frame);
    void CollectAvatar(const TSKIToolState& tools, double seconds);  // avatar_scene.cpp
    void CollectTrees(const TSKIEngine& engine, const TSKIViewState& view,
                      const TSKIToolState& tools, const TSKIFrameView& frame);
    void CollectTools(const TSKIEngine& engine, const TSKIToolState& tools);
    void CollectPoints(const TSKIEngine& engine, const TSKIViewState& view);
    void CollectMirroredTrees(const TSKIEngine& engine, const TSKIViewState& view,
                              const TSKIFrameView& frame);
    // Whether a world position lies on a near-camera cell.
    static bool OnNearCell(const TSKIEngine& engine, const TSKIVector& p);
};

}  // namespace vallorn
