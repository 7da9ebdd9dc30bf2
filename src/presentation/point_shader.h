// The shader of the view's dots: the crowd, the overlay's shaped and outlined dots and the
// falling snow (scene_renderer.cpp).
#pragma once

namespace vallorn {

extern const char* const kPointVertex;
extern const char* const kPointFragment;

}  // namespace vallorn
