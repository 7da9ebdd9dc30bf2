// A fingerprint of a park's complete state: equal hashes mean equal parks. The headless
// runner reports it and the determinism tests compare it.
#pragma once

#include <cstdint>
#include <string>

namespace vallorn {

class TSKIEngine;

uint64_t StateHash(const TSKIEngine& engine);
std::string StateHashText(const TSKIEngine& engine);  // 16 hexadecimal digits

}  // namespace vallorn
