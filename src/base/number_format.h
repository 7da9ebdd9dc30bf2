// Number texts of the game's files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vallorn {

// Decimal-comma real: the first "." becomes "," and the text is parsed with a decimal comma.
// Leading/trailing blanks are allowed; anything else that is not part of the number fails.
std::optional<double> ParseReal(std::string_view text);
// Decimal integer with an optional sign; fails on anything else (blanks around allowed).
std::optional<int64_t> ParseInteger(std::string_view text);
// General decimal form with up to 15 significant digits and a decimal comma ("0,5", "1250",
// "12,3400001525879" for the 32-bit float 12.34 widened to double).
std::string FormatReal(double value);
// Hexadecimal text with two upper-case digits per byte.
std::string ToHex(const void* data, size_t size);
// Hexadecimal pairs of either case back into bytes; nullopt when the text is not hex pairs.
std::optional<std::string> FromHex(std::string_view text);

// Money text: "1.234.567,-"; empty when `blankZero` and the value is 0.
std::string FormatMoney(int32_t value, bool blankZero = false);
// Duration text: "1 minute, 15 seconds".
std::string FormatDuration(int32_t seconds);

}  // namespace vallorn
