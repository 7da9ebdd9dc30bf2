// Runs independent jobs on a few threads. The jobs must not depend on one another or on the
// order they run in: each writes only its own files and its own result slot, so the output is
// the same whichever thread takes which job.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace vallorn::datagen {

// Threads for the generator: the machine's cores, at least two, at most four (each level
// holds a few hundred MB while it is made).
inline int GeneratorThreads() {
    return std::clamp(int(std::thread::hardware_concurrency()), 2, 4);
}

// Calls job(k) for k = 0 .. count - 1 on `threads` threads (the calling one among them),
// taking the jobs in order; returns when all are done.
inline void RunJobs(size_t count, int threads, const std::function<void(size_t)>& job) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k; (k = next.fetch_add(1)) < count;) job(k);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads && size_t(t) < count; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace vallorn::datagen
