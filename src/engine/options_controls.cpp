#include "engine/options_controls.h"

#include <algorithm>
#include <cmath>

namespace vallorn {

namespace {
int Bar(double value, int lo, int hi) {
    if (!std::isfinite(value)) return lo;
    return int(std::clamp<long>(std::lround(value), lo, hi));
}
}  // namespace

TSKIOptionControls ControlsFromOptions(const TSKIEngineOptions& o) {
    TSKIOptionControls c;
    c.Music = o.MusicOn;
    c.Sound = o.SoundOn ? Bar(o.SoundVolume * 100.0, 0, 100) : 0;
    c.InvertZoom = o.InvertMouseZoom == -1.0f;
    c.Zoom = Bar((1.0 - (double(o.MouseZoomSpeed) - 0.5)) * 100.0, 0, 100);
    c.Rotation = Bar(o.MouseRotSpeed, 10, 30);
    c.Panning = Bar(o.MousePanSpeed * 100.0, 1, 30);
    c.FullScreen = o.FullScreen;
    c.EdgeScroll = o.EdgeScroll;
    c.Detail = std::clamp(int(o.Detail), 0, 2);
    return c;
}

void ApplyControls(const TSKIOptionControls& c, TSKIEngineOptions& o) {
    o.MusicOn = c.Music;
    o.SoundVolume = float(c.Sound) / 100.0f;
    o.SoundOn = c.Sound != 0;
    o.InvertMouseZoom = c.InvertZoom ? -1.0f : 1.0f;
    o.MouseZoomSpeed = 1.5f - float(c.Zoom) / 100.0f;
    o.MouseRotSpeed = float(c.Rotation);
    o.MousePanSpeed = float(c.Panning) / 100.0f;
    o.FullScreen = c.FullScreen;
    o.EdgeScroll = c.EdgeScroll;
    o.Detail = uint8_t(std::clamp(c.Detail, 0, 2));
}

}  // namespace vallorn
