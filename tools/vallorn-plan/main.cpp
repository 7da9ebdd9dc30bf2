// vallorn-plan: writes the action script of a resort laid out by the planner on a level, for
// vallorn-sim run --level LEVEL --actions FILE.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/level_file.h"
#include "resort_planner.h"

namespace {

const char* const kUsage =
    "usage: vallorn-plan --level NAME [--root DIR] [--player sensible|careless|greedy]\n"
    "                    [--no-cannons] [--no-grooming] [--no-rescue] [--no-food]\n"
    "                    [--colours LINES] [--lift TYPE] [--prices FACTOR] [--upgrades N]\n"
    "                    [--campaign pr|marketing] [--parkings N]\n"
    "Lays out a resort on the level through player actions and prints its action script.\n"
    "LINES: one letter per lift line, b blue, r red, k black (default bbrk); TYPE 0..6.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vallorn;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string level, root;
    plan::TPlanOptions o = plan::SensiblePlayer();
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& a = args[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= args.size()) {
                std::fprintf(stderr, "vallorn-plan: %s needs a value\n%s", a.c_str(), kUsage);
                std::exit(2);
            }
            return args[++k];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--level") {
            level = value();
        } else if (a == "--root") {
            root = value();
        } else if (a == "--player") {
            const std::string p = value();
            o = p == "careless" ? plan::CarelessPlayer()
                : p == "greedy" ? plan::GreedyPlayer()
                                : plan::SensiblePlayer();
        } else if (a == "--no-cannons") {
            o.cannons = false;
        } else if (a == "--no-grooming") {
            o.grooming = false;
        } else if (a == "--no-rescue") {
            o.rescue = false;
        } else if (a == "--no-food") {
            o.food = false;
        } else if (a == "--colours") {
            o.colours = value();
        } else if (a == "--lift") {
            o.liftType = std::atoi(value().c_str());
        } else if (a == "--prices") {
            o.priceFactor = std::atof(value().c_str());
        } else if (a == "--upgrades") {
            o.upgrades = std::atoi(value().c_str());
        } else if (a == "--campaign") {
            o.campaign = value();
        } else if (a == "--parkings") {
            o.parkings = std::atoi(value().c_str());
        } else {
            std::fprintf(stderr, "vallorn-plan: unknown argument '%s'\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    if (level.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    TSKIEngine engine({root, 1, nullptr});
    const TSKILevelLoadResult r = LoadLevelFile(engine, level, false);
    if (!r.error.empty() || !engine.HasGrid()) {
        std::fprintf(stderr, "vallorn-plan: cannot load level '%s': %s\n", level.c_str(),
                     r.error.c_str());
        return 3;
    }
    const plan::TResortPlan p = plan::PlanResort(engine, o);
    if (!p.ok()) {
        std::fprintf(stderr, "vallorn-plan: %s\n", p.error.c_str());
        return 1;
    }
    std::cout << "# " << level << ": " << p.lifts << " lifts, runs " << p.colours << ", "
              << p.cannons << " cannons, " << p.treesFelled << " trees felled\n"
              << p.Text();
    return 0;
}
