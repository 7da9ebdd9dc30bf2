// The shipped Params.ini and GameParams.ini, read the way the engine reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "base/ini_file.h"
#include "base/params.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct Shipped {
    Shipped() {
        LoadCatalogues(test::BuildRoot() / "data", params, &warnings);
        file = TIniFile(test::BuildRoot() / "data" / "Params.ini");
        game = TIniFile(test::BuildRoot() / "data" / "GameParams.ini");
    }
    TSKIParameters params;
    std::string warnings;
    TIniFile file, game;
};

const Shipped& Data() {
    static const Shipped shipped;
    return shipped;
}

// A key the engine reads but the file lacks would silently take one thousandth of its
// default, so every key of every table must be written out.
TEST(ShippedParams, NameEveryTypeAndWriteEveryKey) {
    const Shipped& d = Data();
    EXPECT_EQ(d.warnings, "");
    EXPECT_EQ(d.params.LiftTypesRead, kLiftTypeCount);
    EXPECT_EQ(d.params.BuildingTypesRead, kBuildingTypeCount);
    EXPECT_EQ(d.params.VehicleTypesRead, kVehicleTypeCount);

    const std::vector<std::string> lifts = d.file.SectionKeys("Lifts");
    ASSERT_EQ(lifts.size(), size_t(kLiftTypeCount));
    for (const std::string& s : lifts) {
        for (const char* key :
             {"LiftSpeed",           "LiftOnGround",       "LiftPoleMinDist",  "LiftPoleMaxDist",
              "LiftGondoleCapacity", "LiftGondoleSpacing", "LiftPoleHeight",   "LiftStationHeight",
              "LiftLineDist",        "LiftColdFactor",     "LiftEnergyFactor", "LiftDefaultPrice",
              "LiftCostPerPole",     "LiftCostPerGondole", "LiftRunningCost",  "LiftRating",
              "LiftMHStart",         "LiftMHEnd",          "LiftMHPole",       "LiftMHGondole",
              "LiftMLStart",         "LiftMLEnd",          "LiftMLPole",       "LiftMLGondole",
              "LiftMaxLength",       "LiftServiceQuality", "LiftGatePosX",     "LiftGatePosZ",
              "LiftDescription",     "LiftName",           "LiftShadowWidth",  "LiftShadowHeight",
              "LiftShadowRect"}) {
            EXPECT_TRUE(d.file.ValueExists(s, key)) << s << " " << key;
        }
        for (int k = 0; k < kLiftSeatOffsets; ++k)
            for (const char* axis : {"X", "Y", "Z"})
                EXPECT_TRUE(d.file.ValueExists(
                    s, std::string("LiftGondoleOffsets") + axis + std::to_string(k)))
                    << s << " offset " << axis << k;
    }
    const std::vector<std::string> buildings = d.file.SectionKeys("Buildings");
    ASSERT_EQ(buildings.size(), size_t(kBuildingTypeCount));
    for (size_t t = 0; t < buildings.size(); ++t) {
        const std::string& s = buildings[t];
        for (const char* key :
             {"BuildTypeString",   "BuildName",           "BuildSubType",     "BuildCapacity",
              "BuildModelHi",      "BuildModelLow",       "BuildCost",        "BuildServiceCost",
              "BuildSize",         "BuildRefillHappines", "BuildRefillCold",  "BuildRefillEnergy",
              "BuildRefillHunger", "BuildSeatsVisible",   "BuildRating",      "BuildRunningCost",
              "BuildDoor",         "BuildDoorVX",         "BuildDoorVZ",      "BuildServiceQuality",
              "BuildSitAnim",      "BuildDescription",    "BuildShadowWidth", "BuildShadowHeight",
              "BuildShadowRect"}) {
            EXPECT_TRUE(d.file.ValueExists(s, key)) << s << " " << key;
        }
        for (int k = 0; k < d.params.Buildings[t].Capacity; ++k)
            for (const char* axis : {"X", "Y", "Z"})
                EXPECT_TRUE(
                    d.file.ValueExists(s, std::string("BuildSeatV") + axis + std::to_string(k)))
                    << s << " seat " << axis << k;
    }
    const std::vector<std::string> vehicles = d.file.SectionKeys("Vehicles");
    ASSERT_EQ(vehicles.size(), size_t(kVehicleTypeCount));
    for (const std::string& s : vehicles)
        for (const char* key : {"VehSpeed", "VehServiceFactor", "VehModelHi", "VehModelLow"})
            EXPECT_TRUE(d.file.ValueExists(s, key)) << s << " " << key;
    for (const std::string& key :
         TIniFile(test::SourceRoot() / "assets" / "data" / "GameParams.ini")
             .SectionKeys("GameParams"))
        EXPECT_TRUE(d.game.ValueExists("GameParams", key));
    EXPECT_EQ(d.game.SectionKeys("GameParams").size(), 24u);
}

TEST(ShippedParams, LiftsClimbInSpeedReachAndPrice) {
    const auto& lifts = Data().params.Lifts;
    const char* names[] = {"Platter lift", "T-bar",       "Double chairlift", "Quad chairlift",
                           "Cable car",    "Aerial tram", "Six chairlift"};
    for (int t = 0; t < kLiftTypeCount; ++t) {
        const TSKILiftParams& l = lifts[size_t(t)];
        SCOPED_TRACE(l.Name);
        EXPECT_EQ(l.DisplayName, names[t]);
        EXPECT_FALSE(l.Description.empty());
        EXPECT_EQ(l.OnGround, t <= 1) << "only the platter lift and the T-bar are surface lifts";
        EXPECT_GE(l.GondoleCapacity, 1);
        EXPECT_LE(l.GondoleCapacity, kLiftSeatOffsets);
        EXPECT_GT(l.Speed, 1.0f);
        EXPECT_LT(l.Speed, 15.0f);
        EXPECT_GT(l.DefaultPrice, 0);
        EXPECT_GT(l.CostPerPole, 0);
        EXPECT_GT(l.CostPerGondole, 0);
        EXPECT_GT(l.RunningCost, 0);
        EXPECT_GT(l.Rating, 0.0f);
        EXPECT_GE(l.ServiceQuality, 0.5f);
        EXPECT_LE(l.ServiceQuality, 2.0f);
        EXPECT_LT(l.PoleMinDist, l.PoleMaxDist);
        // Buildable on a 2048-unit map: longer than the shortest allowed lift, well inside the map.
        EXPECT_GT(l.MaxLength, 4 * l.PoleMinDist);
        EXPECT_GE(l.MaxLength, 300.0f);
        EXPECT_LE(l.MaxLength, 1200.0f);
        EXPECT_LT(l.GondoleSpacing, l.MaxLength / 2);
        EXPECT_GT(l.StationHeight, 0.0f);
        EXPECT_GT(l.PoleHeight, l.StationHeight);
        EXPECT_GT(l.GatePosZ, 0.0f) << "the gate stands behind the bottom station";
        EXPECT_FALSE(l.ModelHiStart.empty());
        EXPECT_FALSE(l.ModelLoGondole.empty());
        std::set<std::tuple<float, float, float>> seats;
        for (int k = 0; k < l.GondoleCapacity; ++k) {
            const TSKIVector& o = l.GondoleOffsets[size_t(k)];
            seats.insert({o.x, o.y, o.z});
            EXPECT_LT(o.y, 0.0f) << "riders hang below the rope";
            EXPECT_LT(std::hypot(o.x, o.z), 3.0f) << "seat " << k << " far from its carrier";
        }
        EXPECT_EQ(seats.size(), size_t(l.GondoleCapacity)) << "two riders on one seat";
    }
    EXPECT_GT(lifts[4].Speed, lifts[0].Speed);
    EXPECT_GT(lifts[5].Speed, lifts[3].Speed);
    EXPECT_GT(lifts[3].GondoleCapacity, lifts[2].GondoleCapacity);
    EXPECT_GT(lifts[6].GondoleCapacity, lifts[3].GondoleCapacity);
    EXPECT_GT(lifts[5].MaxLength, lifts[0].MaxLength);
    // Throughput (riders an hour) grows from the platter lift to the six chairlift.
    auto throughput = [](const TSKILiftParams& l) {
        return l.GondoleCapacity * l.Speed * 600 / l.GondoleSpacing;
    };
    EXPECT_LT(throughput(lifts[0]), throughput(lifts[1]));
    EXPECT_LT(throughput(lifts[2]), throughput(lifts[3]));
    EXPECT_LT(throughput(lifts[3]), throughput(lifts[6]));
    // On a long line (520 units, four poles) each bigger chairlift costs less per rider an
    // hour than the smaller one, and a lift a fifth full pays its running cost.
    auto perRider = [&](const TSKILiftParams& l) {
        const double price =
            2.0 * 520.0 / l.GondoleSpacing * l.CostPerGondole + 4.0 * l.CostPerPole;
        return price / throughput(l);
    };
    EXPECT_LT(perRider(lifts[3]), perRider(lifts[2]));
    EXPECT_LT(perRider(lifts[6]), perRider(lifts[3]));
    for (const TSKILiftParams& l : lifts)
        EXPECT_LT(l.RunningCost, 0.2 * throughput(l) / 10.0 * l.DefaultPrice) << l.Name;
    // Riders warm up and rest in the cabins, tire on surface lifts.
    EXPECT_LT(lifts[0].EnergyFactor, 0.0f);
    EXPECT_GT(lifts[3].EnergyFactor, 0.0f);
    EXPECT_GT(lifts[4].ColdFactor, lifts[2].ColdFactor);
}

TEST(ShippedParams, BuildingsHaveTheirCategoriesSeatsAndServices) {
    const auto& b = Data().params.Buildings;
    const uint8_t category[] = {kCategorySnowCannon,    kCategoryRestaurant, kCategoryRescue,
                                kCategoryRestaurant,    kCategoryRescue,     kCategoryHospital,
                                kCategorySnowCatGarage, kCategoryRestaurant, kCategoryRestaurant,
                                kCategoryRestaurant,    kCategoryOther,      kCategoryRestaurant,
                                kCategoryRestaurant};
    const char* names[] = {"Snow cannon", "Stall",    "Rescue station", "Snow bar",
                           "Ski patrol",  "Hospital", "Snowcat garage", "Cot",
                           "Shelter",     "",         "Parking",        "Self-service",
                           "Kiosk"};
    for (int t = 0; t < kBuildingTypeCount; ++t) {
        const TSKIBuildingParams& p = b[size_t(t)];
        SCOPED_TRACE(p.Name);
        EXPECT_EQ(p.Category, category[t]) << p.TypeString;
        if (*names[t]) {
            EXPECT_EQ(p.Name, names[t]);
        }
        EXPECT_FALSE(p.Name.empty());
        EXPECT_FALSE(p.Description.empty());
        EXPECT_FALSE(p.ModelHi.empty());
        EXPECT_GT(p.Cost, 0);
        EXPECT_GT(p.RunningCost, 0);
        EXPECT_GE(p.Size, 2);
        EXPECT_LE(p.Capacity, kBuildingSeatsMax);
        std::set<std::tuple<float, float, float>> seats;
        for (int k = 0; k < p.Capacity; ++k) {
            const TSKIVector& s = p.Seats[size_t(k)];
            seats.insert({s.x, s.y, s.z});
            EXPECT_LT(std::hypot(s.x, s.z), float(p.Size))
                << "seat " << k << " outside the footprint";
        }
        EXPECT_EQ(seats.size(), size_t(p.Capacity)) << "two seats on one spot";
        if (p.HasDoor) {
            EXPECT_LT(std::hypot(p.DoorPosition.x, p.DoorPosition.z), float(p.Size));
        }
        if (p.Category == kCategoryRestaurant) {
            EXPECT_GE(p.Capacity, 4);
            EXPECT_NE(p.Services, 0) << "a restaurant that serves nothing";
            EXPECT_GT(p.ServiceCost, 0);
            // The poorest skiers (spending limit 10) do not find the price too dear.
            EXPECT_LE(p.ServiceCost, p.ServiceQuality * 10.0f + 0.01f);
        } else {
            EXPECT_EQ(p.Services, 0) << "only restaurants refill needs";
        }
    }
    // Vehicles come one per seat: the buildings that own them have seats.
    EXPECT_EQ(b[kBuildRescueStation].Capacity, 3);
    EXPECT_EQ(b[kBuildSkiPatrol].Capacity, 1);
    EXPECT_EQ(b[kBuildHospital].Capacity, 1) << "a hospital keeps one helicopter, on seat 0";
    EXPECT_GE(b[kBuildSnowcatGarage].Capacity, 1);
    EXPECT_EQ(b[kBuildParking].TypeString, "Parking");
    EXPECT_EQ(b[kBuildParking].Capacity, 10) << "a parking lot has ten car places";
    EXPECT_GT(b[kBuildSelfService].Capacity, b[kBuildKiosk].Capacity);
    EXPECT_TRUE(b[kBuildCot].Services & kServiceEnergy);
    EXPECT_TRUE(b[kBuildShelter].Services & kServiceCold);
    EXPECT_TRUE(b[kBuildStall].Services & kServiceHunger);
}

TEST(ShippedParams, VehiclesAndRulesReadAsIntended) {
    const Shipped& d = Data();
    const auto& v = d.params.Vehicles;
    for (const TSKIVehicleParams& p : v) {
        EXPECT_GT(p.Speed, 1.0f);
        EXPECT_GT(p.ServiceFactor, 1.0f);
        EXPECT_FALSE(p.ModelHi.empty());
    }
    EXPECT_GT(v[1].Speed, v[0].Speed) << "the helicopter outruns the snowmobile";
    EXPECT_LT(v[3].Speed, 6.0f) << "snowcats are slower than skiers";
    EXPECT_FALSE(v[1].ModelLow.empty());
    EXPECT_FALSE(v[3].ModelLow.empty());

    const TSKIGameParams& g = d.params.Game;
    EXPECT_FLOAT_EQ(g.TickTime, 1.0f);
    EXPECT_EQ(g.DayLength, 600);
    EXPECT_EQ(g.DaysInSeason, 30);
    EXPECT_EQ(g.TreePrice, 100);
    EXPECT_EQ(g.MaxProxyCount, 10000);
    EXPECT_FLOAT_EQ(g.HistoryInterval, 60.0f);
    // Skiing warms, queuing chills, and even on the highest summit in the harshest weather
    // one tick moves cold by less than two points: needs drift over a morning.
    EXPECT_GT(g.SlopeColdFactor, 0.0f);
    EXPECT_LT(g.WaitColdFactor, 0.0f);
    EXPECT_LT(g.SlopeColdFactor * 450.0f, 2.0f);
    EXPECT_LT(-g.WaitColdFactor * 450.0f, 2.0f);
    EXPECT_FLOAT_EQ(g.HungerFactor, -0.05f);
    EXPECT_FLOAT_EQ(g.UpgradeCost, 0.3f);
    EXPECT_FLOAT_EQ(g.RatingLeftDiedPenalty, 10.0f);
    EXPECT_FLOAT_EQ(g.PopularityCooldown, 0.005f);
}

}  // namespace
}  // namespace vallorn
