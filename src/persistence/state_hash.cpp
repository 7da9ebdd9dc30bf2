#include "persistence/state_hash.h"

#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "persistence/saved_game.h"

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
    uint64_t Result() const { return h_; }

private:
    uint64_t h_ = 0xCBF29CE484222325ull;
};

}  // namespace

// The hash of the text a save of the park writes: two parks that save alike hash alike.
uint64_t StateHash(const TSKIEngine& e) {
    const std::string text = SaveGameText(e);
    Fnv f;
    f.Bytes(text.data(), text.size());
    return f.Result();
}

std::string StateHashText(const TSKIEngine& engine) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(StateHash(engine)));
    return buf;
}

}  // namespace vallorn
