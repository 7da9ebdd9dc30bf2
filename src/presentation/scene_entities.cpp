// Fills the scene's instance lists from the park's entities: lifts with their stations,
// poles, wheels, gates, carriers and cables; slope signs; buildings, parked cars, houses,
// vehicles; and the skiers near the camera.
#include <algorithm>
#include <cmath>
#include <cstring>

#include <glm/geometric.hpp>

#include "entities/building.h"
#include "entities/gondole.h"
#include "entities/section.h"
#include "entities/skier.h"
#include "entities/vehicle.h"
#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

constexpr float kRadiansPerDegree = 0.017453293f;
// Figures farther than this are left to the engine's dots; beyond the second distance
// standing and skiing figures are drawn simpler.
constexpr float kFigureDistance = 260.0f;
constexpr float kSimpleFigureDistance = 45.0f;
constexpr int kSkierAnimationFrames = 20;  // the engine's phase counter runs 0..19
// Carriers and signs farther than this are too small to see.
constexpr float kSmallThingDistance = 700.0f;
constexpr TShapeColor kCable{36, 36, 40, 255};
constexpr float kHipHeight = 0.85f;  // where a surface lift's bar pushes the riders
// The bank under a station: the colour of the ground picture round it (snow or bare ground),
// or, without one, of packed snow or grass.
constexpr glm::vec4 kStationBankSnow(0.90f, 0.92f, 0.95f, 1.0f);
constexpr glm::vec4 kStationBankGrass(0.30f, 0.45f, 0.18f, 1.0f);
constexpr int kStationBankSample = 3;  // the picture's pixels averaged each way round the point

constexpr TShapeColor kCarColors[10] = {
    {200, 30, 30, 255},   {30, 70, 170, 255}, {230, 230, 226, 255}, {40, 40, 44, 255},
    {150, 154, 160, 255}, {20, 120, 70, 255}, {230, 170, 30, 255},  {110, 40, 120, 255},
    {90, 60, 40, 255},    {60, 150, 200, 255}};
constexpr TShapeColor kSignColors[3] = {{30, 80, 210, 255}, {210, 30, 30, 255}, {18, 18, 20, 255}};

bool SnowUnder(const TSKIEngine& engine, const TSKIVector& p) {
    if (!engine.HasGrid() || !engine.PositionInGrid(p)) return true;
    const TerrainCell c = engine.CellAt(p);
    return c.NaturalSnow || c.ArtificialSnow;
}

// The colour of the ground picture (snow or bare ground, as lies there) round a point of the
// map: the mean of a few of its pixels.
glm::vec4 StationBankGround(const TSKIEngine& engine, const TSKIVector& p) {
    const bool snow = SnowUnder(engine, p);
    const TSKIImage& picture = snow ? engine.SnowTexture : engine.GroundTexture;
    if (picture.Empty()) return snow ? kStationBankSnow : kStationBankGrass;
    // Pixel (u, v) of a ground picture lies over cell (u, v) scaled to the grid.
    const float cells = float(kGridSize);
    const int u = int(-p.x / kCellSize / cells * float(picture.Width()));
    const int v = int(p.z / kCellSize / cells * float(picture.Height()));
    glm::vec3 sum(0.0f);
    int n = 0;
    for (int a = -kStationBankSample; a <= kStationBankSample; ++a) {
        for (int b = -kStationBankSample; b <= kStationBankSample; ++b) {
            if (!picture.Contains(u + a, v + b)) continue;
            const TSKIColor c = picture.Get(u + a, v + b);
            sum += glm::vec3(c.r, c.g, c.b) / 255.0f;
            ++n;
        }
    }
    if (n == 0) return snow ? kStationBankSnow : kStationBankGrass;
    return glm::vec4(sum / float(n), 1.0f);
}

bool Near(const TSKIFrameView& frame, const glm::vec3& p, float distance) {
    const glm::vec3 d = p - frame.Eye;
    return glm::dot(d, d) < distance * distance;
}

uint64_t Mix(uint64_t h, uint64_t v) {
    return (h ^ v) * 1099511628211ull;
}
uint64_t Bits(float f) {
    uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

}  // namespace

void TSKISceneRenderer::TImpl::CollectLifts(const TSKIEngine& engine, const TSKIViewState& view,
                                            const TSKIFrameView& frame) {
    for (auto& lift : Lifts) {
        for (TSceneBatch* batch : {&lift.Carrier, &lift.Lower, &lift.Upper, &lift.Pole, &lift.Wheel,
                                   &lift.CarrierL, &lift.LowerL, &lift.UpperL, &lift.PoleL})
            batch->Instances.clear();
    }
    for (auto& plate : SignPlates) plate.Instances.clear();
    Ropes.Clear();
    GateOpen.Instances.clear();
    GateClosed.Instances.clear();
    for (auto& sign : Signs) sign.Instances.clear();
    const bool signs = (view.DisplayFlags & kDisplaySlopes) != 0;
    uint64_t signature = 1469598103934665603ull;

    for (const auto& owned : engine.Sections) {
        const TSKISection& s = *owned;
        if (s.IsSlope()) {
            if (!signs || s.Points.size() < 2) continue;
            const glm::vec3 a = Vec3(s.Points[0]), b = Vec3(s.Points[1]);
            glm::vec3 along(b.x - a.x, 0, b.z - a.z);
            if (glm::dot(along, along) < 1e-6f) continue;
            along = glm::normalize(along);
            const glm::vec3 right(-along.z, 0, along.x);
            glm::vec3 p = a + right * (std::max(s.Points[0].w, 1.0f) * kCellSize * 0.5f + 1.5f);
            p.y = engine.GroundHeight(TSKIVector(p, 1.0f));
            if (!Near(frame, p, kSmallThingDistance) || !frame.SphereVisible(p, 3.0f)) continue;
            const int shape = std::clamp<int>(s.Difficulty, 0, 2);
            Signs[size_t(shape)].Add(p, YawOf(-along.x, -along.z), glm::vec3(1.4f),
                                     kSignColors[shape]);
            if (Signs[size_t(shape)].Model)
                SignPlates[size_t(shape)].Add(p, YawOf(-along.x, -along.z), glm::vec3(1.4f),
                                              kSignColors[shape]);
            continue;
        }
        if (s.LiftType >= kLiftTypeCount || s.Stations.size() < 2) continue;
        const TSKILiftParams& type = engine.Params.Lifts[s.LiftType];
        TLiftModels& models = Lifts[s.LiftType];
        const TSKIVector& lower = s.Stations.front();
        const TSKIVector& upper = s.Stations.back();
        const float yaw = YawOf(upper.x - lower.x, upper.z - lower.z);
        const float stationRadius = type.StationHeight + type.LineDist + 6.0f;
        // High models near the camera, low ones farther off (when the low file exists).
        auto pick = [&](TSceneBatch& high, TSceneBatch& low, const TSKIVector& at) -> TSceneBatch& {
            return (low.Model && !OnNearCell(engine, at)) ? low : high;
        };
        if (frame.SphereVisible(Vec3(lower), stationRadius))
            pick(models.Lower, models.LowerL, lower).Add(Vec3(lower), yaw);
        if (frame.SphereVisible(Vec3(upper), stationRadius))
            pick(models.Upper, models.UpperL, upper).Add(Vec3(upper), yaw);
        for (size_t k = 1; k + 1 < s.Stations.size(); ++k) {
            const glm::vec3 p = Vec3(s.Stations[k]);
            if (frame.SphereVisible(p - glm::vec3(0, type.PoleHeight * 0.5f, 0), type.PoleHeight))
                pick(models.Pole, models.PoleL, s.Stations[k]).Add(p, yaw);
        }
        if (s.WheelsVisible) {
            models.Wheel.Add(Vec3(s.LowerWheel), yaw + s.LowerWheelAngle * kRadiansPerDegree);
            models.Wheel.Add(Vec3(s.UpperWheel), yaw + s.UpperWheelAngle * kRadiansPerDegree);
        }
        if (s.GateVisible) {
            (s.GateClosedModel ? GateClosed : GateOpen)
                .Add(Vec3(s.GatePosition), YawOf(s.GateDirection.x, s.GateDirection.z));
        }
        for (const auto& carrier : s.Carriers) {
            const glm::vec3 p = Vec3(carrier->Position);
            if (!Near(frame, p, kSmallThingDistance) || !frame.SphereVisible(p, 3.0f)) continue;
            const float yaw = YawOf(carrier->Direction.x, carrier->Direction.z);
            if (!type.OnGround) {
                pick(models.Carrier, models.CarrierL, carrier->Position).Add(p, yaw);
                continue;
            }
            // A surface lift's bar rides at its riders' hips on a rope from the cable; an empty
            // one has its rope wound up.
            glm::vec3 bar = p;
            bar.y = carrier->RiderCount == 0
                        ? p.y - 1.3f
                        : std::min(p.y - 1.3f, engine.GroundHeight(carrier->Position) + kHipHeight);
            models.Carrier.Add(bar, yaw);
            Ropes.Line(p, bar + glm::vec3(0, 0.9f, 0), kCable);
        }
        signature = Mix(signature, s.DetailLine.size());
        signature = Mix(signature, SnowUnder(engine, lower) + 2u * SnowUnder(engine, upper));
        if (s.DetailLine.empty()) continue;
        for (const TSKIVector* p : {&s.DetailLine.front(), &s.DetailLine.back()}) {
            signature = Mix(signature, Bits(p->x));
            signature = Mix(signature, Bits(p->y));
            signature = Mix(signature, Bits(p->z));
        }
    }

    // The cables and the banks under the stations change only when lifts are built, replaced
    // or removed.
    if (signature == CableSignature) return;
    CableSignature = signature;
    Cables.Clear();
    StationBanks.Clear();
    for (const auto& owned : engine.Sections) {
        const TSKISection& s = *owned;
        if (!s.IsLift() || s.DetailLine.size() < 2) continue;
        const size_t n = s.DetailLine.size();
        for (size_t k = 0; k < n; ++k)
            Cables.Line(Vec3(s.DetailLine[k]), Vec3(s.DetailLine[(k + 1) % n]), kCable);
        if (s.LiftType >= kLiftTypeCount || s.Stations.size() < 2) continue;
        const TLiftModels& models = Lifts[s.LiftType];
        const TSKIVector &lower = s.Stations.front(), &upper = s.Stations.back();
        const float yaw = YawOf(upper.x - lower.x, upper.z - lower.z);
        for (const bool top : {false, true}) {
            const TSKIVector& at = top ? s.Stations.back() : s.Stations.front();
            AddStationBank(engine, top ? models.UpperFootprint : models.LowerFootprint, Vec3(at),
                           yaw, StationBankGround(engine, at), StationBanks.Vertices);
        }
    }
    StationBanks.Indices.resize(StationBanks.Vertices.size());
    for (size_t k = 0; k < StationBanks.Indices.size(); ++k) StationBanks.Indices[k] = uint32_t(k);
}

void TSKISceneRenderer::TImpl::CollectBuildings(const TSKIEngine& engine,
                                                const TSKIFrameView& frame) {
    for (auto* group : {&Buildings, &BuildingsL})
        for (auto& batch : *group) batch.Instances.clear();
    for (auto* group : {&Houses, &HousesL, &Cars})
        for (auto& batch : *group) batch.Instances.clear();
    for (TSceneBatch* batch :
         {&Car, &Snowcat, &SnowcatL, &Snowmobile, &Helicopter, &HelicopterL, &Rotor})
        batch->Instances.clear();
    auto pick = [&](TSceneBatch& high, TSceneBatch& low, const TSKIVector& at) -> TSceneBatch& {
        return (low.Model && !OnNearCell(engine, at)) ? low : high;
    };
    auto shadow = [&](const glm::vec3& p, float width, float depth, float yaw) {
        Shadows.Add(glm::vec3(p.x, engine.GroundHeight(TSKIVector(p, 1.0f)) + 0.05f, p.z), yaw,
                    glm::vec3(width, 1.0f, depth));
    };

    for (const auto& owned : engine.Buildings) {
        const TSKIBuilding& b = *owned;
        if (b.Type >= kBuildingTypeCount) continue;
        const glm::vec3 p = Vec3(b.Position);
        const float size = float(engine.Params.Buildings[b.Type].Size);
        if (!frame.SphereVisible(p, size * 1.3f + 6.0f)) continue;
        const float yaw = YawOf(b.Direction.x, b.Direction.z);
        pick(Buildings[b.Type], BuildingsL[b.Type], b.Position).Add(p, yaw);
        shadow(p, size * 1.7f, size * 1.7f, yaw);
        if (b.Type != kBuildParking) continue;
        for (size_t k = 0; k < b.CarPlaces.size() && k < b.Seats.size(); ++k) {
            if (!b.CarPlaces[k].Taken) continue;
            // The back row faces the other way.
            const float turn = k >= b.CarPlaces.size() / 2 ? 3.14159265f : 0.0f;
            const int model = b.CarPlaces[k].Model % 10;
            (Cars[size_t(model)].Model ? Cars[size_t(model)] : Car)
                .Add(Vec3(b.Seats[k]) + glm::vec3(0, 0.12f, 0), yaw + turn, glm::vec3(1.0f),
                     kCarColors[model]);
        }
    }

    for (const TSKIHouse& h : engine.Houses) {
        const glm::vec3 p = Vec3(h.Position);
        if (!frame.SphereVisible(p, 12.0f)) continue;
        const int tag = ((h.Tag % 10) + 10) % 10;
        pick(Houses[size_t(tag)], HousesL[size_t(tag)], h.Position)
            .Add(p, YawOf(h.Direction.x, h.Direction.z));
        shadow(p, 13.0f, 13.0f, YawOf(h.Direction.x, h.Direction.z));
    }

    DrawnVehicles.assign(engine.Vehicles.size(), 0);
    for (size_t k = 0; k < engine.Vehicles.size(); ++k) {
        const TSKIVehicle& v = *engine.Vehicles[k];
        const glm::vec3 p = Vec3(v.Position);
        const bool drawn = v.ModelVisible && frame.SphereVisible(p, 8.0f);
        DrawnVehicles[k] = drawn;
        if (!drawn) continue;
        const float yaw = YawOf(v.Direction.x, v.Direction.z);
        switch (v.Type) {
            case kVehicleHelicopter: {
                TSceneBatch& body = pick(Helicopter, HelicopterL, v.Position);
                body.Add(p, yaw);
                // The rotor spins on the detailed model (the low one is seen from far away).
                if (&body == &Helicopter) Rotor.Add(p, yaw + v.RotorAngle * kRadiansPerDegree);
                shadow(p, 5.0f, 11.0f, yaw);
                break;
            }
            case kVehicleSnowcat:
                pick(Snowcat, SnowcatL, v.Position).Add(p, yaw);
                shadow(p, 5.0f, 8.0f, yaw);
                break;
            default:
                Snowmobile.Add(p, yaw);
                shadow(p, 1.6f, 3.0f, yaw);
                break;
        }
    }
}

void TSKISceneRenderer::TImpl::CollectSkiers(const TSKIEngine& engine, const TSKIViewState& view,
                                             const TSKIFrameView& frame) {
    for (auto& batch : Skiers) batch.Instances.clear();
    DistantSkiers.Instances.clear();
    Figures.clear();
    // Skins: five at low detail, nine at medium and high.
    const int skins = engine.Options.Detail == 0 ? 5 : kFigureSkins;
    DetailedSkiers.assign(engine.Skiers.size(), 0);
    for (size_t k = 0; k < engine.Skiers.size(); ++k) {
        const TSKISkier& s = *engine.Skiers[k];
        const glm::vec3 p = Vec3(s.Position);
        bool detailed = false;
        if (engine.PositionInGrid(s.Position)) {
            int i, j;
            TSKIWorld::WorldToCell(s.Position, i, j);
            const TerrainCell& cell = engine.Cell(i, j);
            detailed = cell.InView && cell.NearCamera && Near(frame, p, kFigureDistance) &&
                       frame.SphereVisible(p + glm::vec3(0, 0.9f, 0), 1.2f);
        }
        // Seated inside a building without a terrace: nothing to show.
        if (detailed && s.State == kSkierInBuilding && s.Building != nullptr &&
            !s.Building->Params().SeatsVisible)
            detailed = false;
        DetailedSkiers[k] = detailed;
        if (!detailed) continue;
        const TSkierLook look = SkierLook(s.State, s.Animation, s.ModelVariant);
        // Standing figures have their feet on the snow, not at the stand height.
        const glm::vec3 at =
            look.Pose == TSkierPose::Seated ? p : p - glm::vec3(0, kStandHeight, 0);
        // Beyond a short distance standing and skiing figures are drawn simpler, in one batch
        // (the flip-books' frames and skins would give a draw call for every few figures).
        const bool simple =
            (look.Pose == TSkierPose::Standing || look.Pose == TSkierPose::Skiing) &&
            !Near(frame, p, kSimpleFigureDistance);
        TSceneBatch& batch =
            simple ? DistantSkiers : Skiers[size_t(int(look.Kind) * kSkierPoses + int(look.Pose))];
        // The character's animation phase: skiers sway through their turns, walkers bob.
        const float phase = 6.2831853f *
                            float(view.AnimationPhase[s.ModelVariant % kCharacterTemplates]) /
                            float(kSkierAnimationFrames);
        float yaw = YawOf(s.Heading.x, s.Heading.z);
        glm::vec3 place = at;
        if (look.Pose == TSkierPose::Skiing) yaw += 0.14f * std::sin(phase);
        if (look.Pose == TSkierPose::Standing && s.Speed > 0.1f)
            place.y += 0.05f * std::fabs(std::sin(phase));
        if (look.Pose != TSkierPose::Seated)
            Shadows.Add(at + glm::vec3(0, 0.05f, 0), yaw, glm::vec3(0.9f, 1.0f, 1.8f));
        if (FlipBooks && !simple) {
            // The flip-book of the kind and pose, at the character's frame, in its skin.
            const int pose = FigurePose(look.Pose, s.Speed);
            const int frameIndex = FlipBookFrame(
                view.AnimationPhase[s.ModelVariant % kCharacterTemplates], kFigureFrames);
            const int model = (int(look.Kind) * kFigurePoses + pose) * kFigureFrames + frameIndex;
            TFigure f;
            f.Key = uint32_t(model * kFigureSkins + int(s.ModelVariant / kSkierKinds) % skins);
            f.Instance.X = at.x;
            f.Instance.Y = at.y;
            f.Instance.Z = at.z;
            f.Instance.Yaw = YawOf(s.Heading.x, s.Heading.z);
            f.Instance.R = look.Jacket.R;
            f.Instance.G = look.Jacket.G;
            f.Instance.B = look.Jacket.B;
            Figures.push_back(f);
            continue;
        }
        batch.Add(place, yaw, glm::vec3(1.0f), look.Jacket);
    }
}

}  // namespace vallorn
