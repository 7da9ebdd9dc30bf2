// One game day of the shipped starter park with 1,000 skiers, run the way a player or CI
// runs it: the headless runner as its own process, at speed 4 and 30 frames a second. The
// time includes starting the program and loading the park and its level.
#include <benchmark/benchmark.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

void BM_StarterParkDayWith1000Skiers(benchmark::State& state) {
    const std::string root = VALLORN_BUILD_ROOT;
    const std::string command = root + "/vallorn-sim run --game " + root +
                                "/worlds/Starter.ski --skiers 1000 --days 1 --speed 4 --fps 30 "
                                "--report /dev/null";
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("vallorn-sim failed");
            break;
        }
    }
}
BENCHMARK(BM_StarterParkDayWith1000Skiers)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
