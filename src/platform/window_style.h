// The look of the game's interface: the fonts (DejaVu, sized for the display) and a dark,
// cool-toned style. Other windows pick fonts by face from here.
#pragma once

struct ImFont;

namespace vallorn {

enum class TSKIFontFace { Regular, Bold, Italic, BoldItalic, Mono, Heading };

// Loads the fonts into the current ImGui context and sets the style, every size multiplied by
// `scale`; `pixelRatio` (drawable pixels per window unit) keeps the glyphs sharp.
void ApplyWindowStyle(float scale, float pixelRatio);

// The loaded font of that face (the default font when it could not be loaded), and its size
// in window units.
ImFont* UiFont(TSKIFontFace face);
float UiFontSize(TSKIFontFace face);

}  // namespace vallorn
