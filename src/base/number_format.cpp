#include "base/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vallorn {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > 400) return std::nullopt;
    // The first "." stands for the decimal comma; after that only the comma is a decimal mark.
    std::string s(text);
    if (auto dot = s.find('.'); dot != std::string::npos) s[dot] = ',';
    // Check the shape: sign, digits, optional comma and digits, optional exponent.
    size_t p = 0;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    size_t digits = 0;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p, ++digits;
    if (p < s.size() && s[p] == ',') {
        s[p] = '.';
        ++p;
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        ++p;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
        size_t expDigits = 0;
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (p != s.size()) return std::nullopt;
    const char* begin = s.data();
    if (*begin == '+') ++begin;
    double value = 0;
    auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value > uint64_t(INT64_MAX)) return std::nullopt;
    return negative ? -int64_t(value) : int64_t(value);
}

std::string FormatReal(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s(buf);
    // Exponent without "+" and without leading zeros: 1E-05 -> 1E-5, 1E+20 -> 1E20.
    if (auto e = s.find('E'); e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        bool neg = !exp.empty() && exp[0] == '-';
        if (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) exp.erase(0, 1);
        while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
        s = mant + "E" + (neg ? "-" : "") + exp;
    }
    if (auto dot = s.find('.'); dot != std::string::npos) s[dot] = ',';
    return s;
}

std::string ToHex(const void* data, size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::string out(size * 2, '0');
    for (size_t i = 0; i < size; ++i) {
        out[2 * i] = kDigits[bytes[i] >> 4];
        out[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view text) {
    text = Trim(text);
    if (text.size() % 2 != 0) return std::nullopt;
    std::string out(text.size() / 2, '\0');
    for (size_t i = 0; i < out.size(); ++i) {
        int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out[i] = char((hi << 4) | lo);
    }
    return out;
}

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
