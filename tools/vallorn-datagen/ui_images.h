// The pictures of the game's window: the menu bar's image buttons and the loading picture,
// drawn in code with anti-aliased shapes. The same program always gives the same bytes.
#pragma once

#include <filesystem>
#include <string>

#include "base/image.h"
#include "canvas.h"

namespace vallorn::datagen {

constexpr int kButtonSize = 48;
constexpr int kLoadingWidth = 640, kLoadingHeight = 400;

// The menu bar's buttons, by file name stem: home, display, stats, objectives, help, pause,
// speed1, speed2, speed4.
const char* const kButtonNames[] = {"home",  "display", "stats",  "objectives", "help",
                                    "pause", "speed1",  "speed2", "speed4"};

// One button picture. `lit` is the active state (NAME.bmp): a bright ice-blue face with a
// white symbol; otherwise (NAMEON.bmp) a dim slate face with a muted symbol. Empty for an
// unknown name.
TSKIImage PaintButton(const std::string& name, bool lit);
// A button face of the same look with any symbol drawn on the 48 x 48 face.
TSKIImage PaintSymbolButton(const paint::TSdf& symbol, bool lit);
// Mountains under an evening sky, a chairlift climbing the front slope, the title "VALLORN".
TSKIImage PaintLoadingPicture();

// Writes every button as data/NAME.bmp and data/NAMEON.bmp (24-bit BMP) and data/loading.jpg
// under `dataFolder`, each through a temporary file.
bool WriteUiImages(const std::filesystem::path& dataFolder, std::string* error);

}  // namespace vallorn::datagen
