#include <cstdlib>
#include <string>

#include "engine/engine.h"

namespace vallorn {

std::string FormatMoney(int32_t value, bool blankZero) {
    if (blankZero && value == 0) return {};
    const int64_t magnitude = std::llabs(int64_t(value));
    std::string digits = std::to_string(magnitude);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 3);
    const size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped.append(digits, 0, lead);
    for (size_t p = lead; p < digits.size(); p += 3) {
        grouped += '.';
        grouped.append(digits, p, 3);
    }
    return (value < 0 ? "-" : "") + grouped + ",-";
}

std::string FormatDuration(int32_t seconds) {
    const int32_t s = seconds < 0 ? 0 : seconds;
    const int32_t days = s / 86400;
    const int32_t hours = (s / 3600) % 24;
    const int32_t minutes = (s / 60) % 60;
    const int32_t secs = s % 60;
    auto part = [](int32_t n, const char* one, const char* many) -> std::string {
        if (n == 0) return {};
        return n == 1 ? std::string(one) : std::to_string(n) + many;
    };
    return part(days, "1 day, ", " days, ") + part(hours, "1 hour, ", " hours, ") +
           part(minutes, "1 minute, ", " minutes, ") + std::to_string(secs) + " seconds";
}

}  // namespace vallorn
