// What the park asks of whatever shows it. The view keeps the display layers, the highlight
// palette and the skier flags (the game window's TSKIViewState, presentation/view_state.h);
// the core switches layers on and off for its tools and tells the view when what the
// highlight marks has changed. Nothing the park's rules decide reads the view.
#pragma once

#include <cstdint>

#include "base/overlays.h"

namespace vallorn {

class TSKIEngine;

class ITSKIDisplay {
public:
    virtual ~ITSKIDisplay() = default;
    // The display layers shown now (kDisplay* bits).
    virtual uint8_t Layers() const = 0;
    virtual void SetLayers(uint8_t layers) = 0;
    // Lifts or buildings were built, removed, opened, closed or upgraded.
    virtual void HighlightChanged(const TSKIEngine& park) = 0;
    // A tick has moved the queues.
    virtual void QueuesMoved(const TSKIEngine& park) = 0;
    // A new game: the layers of kDisplayNewGame, no highlight and no skier flags.
    virtual void ResetChoices() = 0;
    // The park's lifts and buildings are gone (a load empties the park, a game closes); a
    // closed game also turns the highlight palette off.
    virtual void ParkCleared(bool closed) = 0;
};

// A park nobody looks at (the headless runner, the tests): the layers are kept, for the
// tools that switch them and the overlays that follow them; there is nothing to highlight.
class TSKIHeadlessDisplay : public ITSKIDisplay {
public:
    uint8_t Layers() const override { return layers_; }
    void SetLayers(uint8_t layers) override { layers_ = layers; }
    void HighlightChanged(const TSKIEngine&) override {}
    void QueuesMoved(const TSKIEngine&) override {}
    void ResetChoices() override { layers_ = kDisplayNewGame; }
    void ParkCleared(bool) override {}

private:
    uint8_t layers_ = kDisplayNewGame;
};

// The layer bits of `layer` on or off.
inline void ShowLayer(ITSKIDisplay& display, uint8_t layer, bool on) {
    const uint8_t layers = display.Layers();
    display.SetLayers(on ? uint8_t(layers | layer) : uint8_t(layers & ~layer));
}
inline bool LayerShown(const ITSKIDisplay& display, uint8_t layer) {
    return (display.Layers() & layer) != 0;
}

}  // namespace vallorn
