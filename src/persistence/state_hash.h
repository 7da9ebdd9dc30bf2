// A fingerprint of a park: the hash of the text a save of it writes, so equal hashes mean
// equal saved parks. The headless runner reports it and the determinism tests compare it.
#pragma once

#include <cstdint>
#include <string>

namespace vallorn {

class TSKIEngine;

uint64_t StateHash(const TSKIEngine& engine);
std::string StateHashText(const TSKIEngine& engine);  // 16 hexadecimal digits

}  // namespace vallorn
