// The small drawn parts of the information windows and palette boxes: caption/value rows,
// the service quality bar, the difficulty sign, the price stepper and the relief profile.
#pragma once

#include <string>

#include "ui/info_fields.h"

namespace vallorn::info {

// A row of the two-column field table: caption on the left, value on the right.
void Row(const char* caption, const std::string& value);
// The service quality bar: width quality × 75, red to green, with its percentage written
// beside it (the figure carries what the colour shows).
void QualityBar(float quality, const std::string& text, float scale);
// A ski-run sign of the difficulty at the cursor: a blue circle, a red square or a black
// diamond, so that the shape tells the band without its colour. Advances the cursor.
void DifficultySign(uint8_t difficulty, float size);
// The sign's colour.
unsigned DifficultyColour(uint8_t difficulty);
// The price with its down and up buttons: -1, +1 or 0 for the button clicked.
int PriceStepper(const std::string& price, float scale);
// The relief profile in a panel `width` × `height` at the cursor: one point every 3 pixels,
// 10 pixels from the left, grey or by difficulty (then with the band's signs along the base),
// the start and end heights written by the ends.
void Relief(const TSKIRelief& relief, bool byDifficulty, float width, float height, float scale);

}  // namespace vallorn::info
