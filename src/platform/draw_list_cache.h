// A drawing made once into a list of its own and copied into the window's draw list on the
// frames after, for as long as what it shows stays the same: a laid-out page costs its draw
// calls once, not every frame.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <imgui.h>

namespace vallorn {

class TSKIDrawListCache {
public:
    TSKIDrawListCache();
    ~TSKIDrawListCache();
    TSKIDrawListCache(const TSKIDrawListCache&) = delete;
    TSKIDrawListCache& operator=(const TSKIDrawListCache&) = delete;

    // True when the recording holds a drawing made under `key` (whatever the caller packs in
    // it: positions, sizes, a layout generation).
    bool Holds(const std::vector<int64_t>& key) const { return recorded_ && key == key_; }
    // A clean list set up like `target` (flags, the font texture and the current clip
    // rectangle) to draw into; the drawing is kept under `key`.
    ImDrawList* Record(const ImDrawList& target, std::vector<int64_t> key);
    // Appends the recorded drawing to `target`, command by command with their textures and
    // clip rectangles.
    void Replay(ImDrawList& target) const;
    void Clear() { recorded_ = false; }

private:
    std::unique_ptr<ImDrawList> list_;
    std::vector<int64_t> key_;
    bool recorded_ = false;
};

}  // namespace vallorn
