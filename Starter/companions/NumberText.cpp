#include "companions/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr std::size_t kFileTypeDigits = 4;
constexpr std::size_t kIconIndexDigits = 8;

bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of c as a digit of the given base, or -1.
int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Digits after "&H" or "&O". The running value may overflow to infinity,
// which is what a value that large should give.
double ReadRadixDigits(const std::string& s, std::size_t pos, int base) {
    double value = 0;
    for (; pos < s.size(); ++pos) {
        int digit = DigitValue(s[pos], base);
        if (digit < 0) break;
        value = value * base + digit;
    }
    return value;
}

// The exponent's digits as an int, held far beyond any double's range so
// that a long run of digits can't overflow it.
long ReadExponent(const std::string& s, std::size_t& pos) {
    constexpr long kCap = 1000000;
    long value = 0;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
        if (value < kCap) value = value * 10 + (s[pos] - '0');
    }
    return value;
}

double ReadDecimal(const std::string& s) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';

    std::string mantissa;  // digits only, the decimal point left out
    long pointShift = 0;   // digits after the point
    std::size_t digits = 0;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos, ++digits) mantissa += s[pos];
    if (pos < s.size() && s[pos] == '.') {
        for (++pos; pos < s.size() && IsDigit(s[pos]); ++pos, ++digits, ++pointShift) mantissa += s[pos];
    }
    if (digits == 0) return 0;

    long exponent = 0;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        // Only a complete exponent counts: "2E" and "2E-" read as 2.
        std::size_t e = pos + 1;
        bool negativeExponent = false;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) negativeExponent = s[e++] == '-';
        if (e < s.size() && IsDigit(s[e])) {
            exponent = ReadExponent(s, e);
            if (negativeExponent) exponent = -exponent;
        }
    }

    std::size_t first = mantissa.find_first_not_of('0');
    if (first == std::string::npos) return negative ? -0.0 : 0.0;

    // Scientific form with the point after the digits: "<digits>e<exp>".
    long scale = exponent - pointShift;
    std::string normal = mantissa.substr(first) + 'e' + std::to_string(scale);
    double value = 0;
    auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond a double: the position of the leading digit decides
        // between overflow and underflow.
        long magnitude = static_cast<long>(mantissa.size() - first) + scale;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

template <typename Int>
Int RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLow = std::numeric_limits<Int>::min();
    constexpr double kHigh = std::numeric_limits<Int>::max();
    if (value <= kLow) return std::numeric_limits<Int>::min();
    if (value >= kHigh) return std::numeric_limits<Int>::max();
    double below = std::floor(value);
    double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0)) rounded = below + 1;
    // A value just inside a limit can round onto the limit, never past it.
    return static_cast<Int>(rounded);
}

}  // namespace

double ReadNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!IsIgnored(c)) s += c;
    }
    if (!s.empty() && s[0] == '&') {
        if (s.size() >= 2 && (s[1] == 'H' || s[1] == 'h')) return ReadRadixDigits(s, 2, 16);
        if (s.size() >= 2 && (s[1] == 'O' || s[1] == 'o')) return ReadRadixDigits(s, 2, 8);
        return 0;
    }
    return ReadDecimal(s);
}

std::int32_t RoundToInt32(double value) { return RoundToInt<std::int32_t>(value); }
std::int16_t RoundToInt16(double value) { return RoundToInt<std::int16_t>(value); }

std::int16_t LimitIconIndex(std::int32_t value) {
    if (value < kMinIconIndex) return kMinIconIndex;
    if (value > kMaxIconIndex) return kMaxIconIndex;
    return static_cast<std::int16_t>(value);
}

std::int16_t ReadCompanionFileType(std::string_view text) {
    return RoundToInt16(ReadNumber(text.substr(0, kFileTypeDigits)));
}

std::int16_t ReadCompanionIconIndex(std::string_view text) {
    return LimitIconIndex(RoundToInt32(ReadNumber(text.substr(0, kIconIndexDigits))));
}
