// The saved line of a slope or lift: parsed within what a park holds, and built on the engine.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "base/number_format.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_lines.h"

namespace vallorn {

namespace {

// Splits "a|b|c|" into its fields; every field must be followed by "|".
class TFields {
public:
    explicit TFields(std::string_view line) : rest_(line) {}
    std::optional<std::string_view> Next() {
        const size_t bar = rest_.find('|');
        if (bar == std::string_view::npos) return std::nullopt;
        std::string_view f = rest_.substr(0, bar);
        rest_.remove_prefix(bar + 1);
        return f;
    }
    bool Int(int32_t& out) {
        auto f = Next();
        if (!f) return false;
        auto v = ParseInteger(*f);
        if (!v || *v < std::numeric_limits<int32_t>::min() ||
            *v > std::numeric_limits<int32_t>::max())
            return false;
        out = int32_t(*v);
        return true;
    }
    bool Real(float& out) {
        auto f = Next();
        if (!f) return false;
        auto v = ParseReal(*f);
        if (!v || !std::isfinite(float(*v))) return false;
        out = float(*v);
        return true;
    }
    bool AtEnd() const { return rest_.find_first_not_of(" \t\r") == std::string_view::npos; }

private:
    std::string_view rest_;
};

}  // namespace

double SlopeArea(const std::vector<TSKIVector>& nodes) {
    double area = 0;
    for (size_t k = 0; k + 1 < nodes.size(); ++k) {
        const double steps = std::max(std::fabs(double(nodes[k + 1].x - nodes[k].x)),
                                      std::fabs(double(nodes[k + 1].z - nodes[k].z))) /
                             kCellSize;
        area += (steps + 1) * std::max(1.0, std::floor(double(nodes[k].w)));
    }
    return area;
}

TLineKind ParseSectionLine(const std::string& line, TSectionLine& out, std::string& error) {
    TFields f(line);
    auto bad = [&](const std::string& why) {
        error = why;
        return TLineKind::Bad;
    };
    const auto kind = f.Next();
    if (!kind || (*kind != "LIFT" && *kind != "SLOPE")) return TLineKind::Ignored;
    out.Lift = *kind == "LIFT";
    if (!f.Int(out.X1) || !f.Int(out.Y1) || !f.Int(out.X2) || !f.Int(out.Y2))
        return bad("its station or end cells do not parse");
    const auto name = f.Next();
    if (!name) return bad("it has no name");
    out.Name = std::string(*name);
    int32_t count = 0;
    if (!f.Int(count)) return bad("its carrier or node count does not parse");
    if (out.Lift) {
        if (count < 0) return bad("its carrier count is out of range");
        if (count > kMaxCarriers)
            return bad("it has " + std::to_string(count) +
                       " carriers, more than a park holds on a lift (" +
                       std::to_string(kMaxCarriers) + ")");
        for (int32_t c = 0; c < count; ++c) {
            TCarrierLine carrier;
            int32_t riders = 0;
            if (!f.Real(carrier.Position.x) || !f.Real(carrier.Position.y) ||
                !f.Real(carrier.Position.z) || !f.Int(carrier.Track) || !f.Int(riders))
                return bad("carrier " + std::to_string(c) + " does not parse");
            if (riders < 0 || riders > kMaxRiders || carrier.Track < 0 ||
                !PlausiblePosition(carrier.Position))
                return bad("carrier " + std::to_string(c) + " is out of range");
            carrier.Riders.resize(size_t(riders));
            for (int32_t& k : carrier.Riders) {
                if (!f.Int(k))
                    return bad("a rider of carrier " + std::to_string(c) + " does not parse");
            }
            out.Carriers.push_back(std::move(carrier));
        }
    } else {
        if (count < -1) return bad("its last node index is out of range");
        if (count >= kMaxSlopeNodes)
            return bad("it has " + std::to_string(int64_t(count) + 1) +
                       " nodes, more than a park holds (" + std::to_string(kMaxSlopeNodes) + ")");
        for (int32_t n = 0; n <= count; ++n) {
            TSKIVector p{0, 0, 0, 0};
            if (!f.Real(p.x) || !f.Real(p.w) || !f.Real(p.z))
                return bad("node " + std::to_string(n) + " does not parse");
            // A node off the grid drops its slope; its width is what the paint draws.
            if (!(p.w >= 0 && p.w <= kSlopeWidthMax))
                return bad("node " + std::to_string(n) + " has a width out of range 0.." +
                           std::to_string(int(kSlopeWidthMax)));
            out.Nodes.push_back(p);
        }
    }
    if (!f.AtEnd()) return bad("it has fields after its last one");
    return TLineKind::Section;
}

void ApplySection(TSKIEngine& e, const TSectionLine& s, const TSKISectionBlock& block,
                  const std::vector<TSKISkier*>& skiers, TSeated* seated,
                  std::vector<std::string>* warnings) {
    if (s.Lift) {
        TSKISection* lift = e.CreateLift(s.X1, s.Y1, s.X2, s.Y2, block.Record);
        if (!lift) return;
        lift->Name = s.Name;
        const int seats = int(lift->Type().GondoleCapacity);
        for (const TCarrierLine& c : s.Carriers) {
            lift->Carriers.push_back(std::make_unique<TSKIGondole>(*lift));
            TSKIGondole& g = *lift->Carriers.back();
            g.Init();
            g.Position = c.Position;
            g.Position.w = 1;
            g.SmoothingAnchor = g.Position;
            const int32_t points = int32_t(lift->DetailLine.size());
            g.NextPoint = points > 0 ? std::min(c.Track, points - 1) : 0;
            // Riders sit in the first seats, without the ones that name no restored skier.
            g.RiderCount = 0;
            int leftOff = 0;
            for (const int32_t k : c.Riders) {
                if (k < 0 || size_t(k) >= skiers.size() || !skiers[size_t(k)]) continue;
                TSKISkier& rider = *skiers[size_t(k)];
                if (g.RiderCount >= seats || (seated && !seated->insert(&rider).second)) {
                    ++leftOff;
                    continue;
                }
                g.Riders[g.RiderCount++] = &rider;
                rider.State = kSkierOnLift;
                rider.CurrentSection = lift;
                rider.LiftType = lift->LiftType;
            }
            if (leftOff > 0 && warnings)
                warnings->push_back("lift " + s.Name + ": " + std::to_string(leftOff) +
                                    " riders are left off a carrier (its seats: " +
                                    std::to_string(seats) + "), or were seated already");
        }
        return;
    }
    // A slope needs three nodes on the grid; it is laid without terrain changes or charge.
    if (s.Nodes.size() < 3) return;
    std::vector<TSKIVector> points;
    points.reserve(s.Nodes.size());
    for (TSKIVector p : s.Nodes) {
        if (!e.PositionInGrid(p)) return;
        p.y = e.TerrainHeight(p);
        points.push_back(p);
    }
    TSKISection* slope = e.CreateSlope(std::move(points), s.Name);
    if (slope) slope->InvestedMoney = block.Record.InvestedMoney;
}

bool RestoreSection(TSKIEngine& engine, const std::string& line,
                    const std::vector<uint8_t>& block) {
    TSectionLine parsed;
    TSKISectionBlock sb;
    std::string error;
    const TLineKind kind = ParseSectionLine(line, parsed, error);
    if (kind == TLineKind::Ignored) return true;
    if (kind == TLineKind::Bad || !UnpackSection(block, sb, error)) return false;
    std::vector<TSKISkier*> skiers;
    skiers.reserve(engine.Skiers.size());
    for (const auto& s : engine.Skiers) skiers.push_back(s.get());
    ApplySection(engine, parsed, sb, skiers);
    return true;
}

}  // namespace vallorn
