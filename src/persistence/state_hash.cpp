#include "persistence/state_hash.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "engine/engine.h"

namespace vallorn {

namespace {

class Fnv {
public:
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            h_ ^= p[i];
            h_ *= 0x100000001B3ull;
        }
    }
    template <typename T>
    void Value(const T& v) {
        static_assert(std::is_arithmetic_v<T>);
        Bytes(&v, sizeof v);
    }
    void Text(const std::string& s) {
        Value(uint64_t(s.size()));
        Bytes(s.data(), s.size());
    }
    void Vector(const TSKIVector& v) { Value(v.x), Value(v.y), Value(v.z), Value(v.w); }
    uint64_t Result() const { return h_; }

private:
    uint64_t h_ = 0xCBF29CE484222325ull;
};

void HashPark(Fnv& f, const TSKIParkData& p) {
    f.Text(p.ParkName);
    f.Value(p.ParkTime), f.Value(p.ParkCash), f.Value(p.ParkMaxSkiers);
    f.Value(p.ParkRating), f.Value(p.ParkRatingPercent), f.Value(p.ParkAvgHappiness);
    f.Value(p.ParkRatingLeftUnhappy), f.Value(p.ParkRatingLeftDead);
    f.Value(p.ParkSlopeScore), f.Value(p.ParkLiftScore), f.Value(p.ParkBuildScore);
    f.Value(p.ParkLeftBecauseUnhappy), f.Value(p.ParkLeftBecauseNoMoney);
    f.Value(p.ParkLeftBecauseDied), f.Value(p.ParkAccidentCooldown), f.Value(p.ParkSpeed);
    f.Value(p.ParkWeather), f.Value(p.ParkTreesFelled), f.Value(p.ParkLoan);
    f.Value(p.ParkLoanInterest), f.Value(p.ParkLoanExpence), f.Value(p.ParkMarketingExpence);
    f.Value(p.ParkSpawnSpeed), f.Value(p.ParkSpawnCounter), f.Value(p.ParkSlopeLength);
    f.Value(p.ParkSnowQuality), f.Value(p.ParkMissionIndex), f.Value(p.ParkEcoExpence);
    f.Value(p.ParkAvgCold), f.Value(p.ParkAvgHunger), f.Value(p.ParkAvgEnergy);
    f.Value(p.ParkRewards), f.Value(p.ParkHourProfit), f.Value(p.ParkSandboxDiff);
    f.Value(p.ParkPopularity);
}

}  // namespace

uint64_t StateHash(const TSKIEngine& e) {
    Fnv f;
    f.Text(e.Level.LevelName);
    HashPark(f, e.Park);
    for (const auto& s : e.Sections) {
        f.Value(s->Kind), f.Value(s->LiftType), f.Value(s->Status), f.Value(s->Difficulty);
        for (const auto& p : s->Points) f.Vector(p);
    }
    for (const auto& k : e.Skiers) {
        f.Value(k->State), f.Value(k->Money), f.Value(k->SpendingLimit), f.Value(k->Cold);
        f.Value(k->Hunger), f.Value(k->Happiness), f.Value(k->Skill), f.Value(k->Energy);
        f.Value(k->Injured), f.Value(k->Leaving), f.Vector(k->Position);
    }
    for (const auto& b : e.Buildings) {
        f.Value(b->Type), f.Value(b->Open), f.Value(b->ServicePrice), f.Vector(b->Position);
        f.Value(b->CustomersServed), f.Value(b->TotalIncome), f.Value(b->TotalExpense);
    }
    for (const auto& v : e.Vehicles) f.Value(v->Type), f.Vector(v->Position);
    // The per-cell state a saved game keeps: snow, grooming, trees.
    if (e.HasGrid()) {
        for (int i = 0; i < kGridSize; ++i) {
            for (int j = 0; j < kGridSize; ++j) {
                const TerrainCell& c = e.Cell(i, j);
                const uint8_t bits =
                    uint8_t(c.NaturalSnow | c.ArtificialSnow << 1 | c.Groomed << 2 | c.Tree << 3);
                f.Value(bits);
            }
        }
    }
    return f.Result();
}

std::string StateHashText(const TSKIEngine& engine) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(StateHash(engine)));
    return buf;
}

}  // namespace vallorn
