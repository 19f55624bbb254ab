#include "companions/NumberText.h"

#include <cstddef>

// The value is rounded to an integer in the end, so it is read on integers:
// the significant digits that can matter and whether anything nonzero
// follows them decide the rounding exactly, where a floating-point value
// would already have rounded once on its own.
namespace {

constexpr std::size_t kFileTypeLength = 4;
constexpr std::size_t kIconIndexLength = 8;

// Magnitudes stop growing here: beyond every limit a caller can give, and
// far from overflowing.
constexpr std::int64_t kMagnitudeCap = 10000000000;  // 10^10
constexpr int kCapDigits = 10;
// An exponent stops growing here, far beyond any value's reach but far
// from overflowing when digit counts are added to it.
constexpr std::int64_t kExponentCap = 1000000000000000;  // 10^15

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of c as a digit of the given base, or -1.
int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// The text's characters with blanks, tabs and line feeds left out; '\0'
// past the end, which continues no number.
class Characters {
public:
    explicit Characters(std::string_view text) : text_(text) { SkipIgnored(); }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void Next() {
        if (pos_ < text_.size()) ++pos_;
        SkipIgnored();
    }

private:
    void SkipIgnored() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// The significant digits of a decimal number: the first kKept of them, which
// hold the integer part of any value below the cap and the digit after it,
// and whether a nonzero digit follows those.
struct Significant {
    static constexpr int kKept = kCapDigits + 2;
    int digits[kKept] = {};
    int kept = 0;
    bool nonzeroBeyond = false;

    bool Empty() const { return kept == 0; }
    // Leading zeros are not significant: the caller counts them.
    void Add(int digit) {
        if (kept < kKept)
            digits[kept++] = digit;
        else if (digit != 0)
            nonzeroBeyond = true;
    }
    int At(std::int64_t i) const { return i < kept ? digits[i] : 0; }

    // The value 0.d1d2d3... x 10^exponent rounded, halves to even; held at
    // the cap.
    std::int64_t Rounded(std::int64_t exponent) const {
        if (exponent > kCapDigits) return kMagnitudeCap;
        if (exponent < 0) return 0;  // below 0.1
        std::int64_t whole = 0;
        for (std::int64_t i = 0; i < exponent; ++i) whole = whole * 10 + At(i);
        const int next = At(exponent);
        // Past the digit after the point: anything nonzero makes a 5 more than half.
        bool restNonzero = nonzeroBeyond;
        for (std::int64_t i = exponent + 1; i < kept; ++i) restNonzero = restNonzero || digits[i] != 0;
        if (next > 5 || (next == 5 && (restNonzero || whole % 2 != 0))) ++whole;
        return whole < kMagnitudeCap ? whole : kMagnitudeCap;
    }
};

// Digits after "&H" or "&O".
std::int64_t ReadRadixDigits(Characters& c, int base) {
    std::int64_t value = 0;
    for (int digit = DigitValue(c.Peek(), base); digit >= 0; c.Next(), digit = DigitValue(c.Peek(), base))
        value = value < kMagnitudeCap ? value * base + digit : kMagnitudeCap;
    return value < kMagnitudeCap ? value : kMagnitudeCap;
}

// The exponent after "E": optional sign and at least one digit; 0 without
// a digit ("2E" and "2E-" read as 2), and nothing of it is taken then.
std::int64_t ReadExponent(Characters& c) {
    Characters e = c;
    e.Next();  // the "E"
    bool negative = false;
    if (e.Peek() == '+' || e.Peek() == '-') {
        negative = e.Peek() == '-';
        e.Next();
    }
    if (!IsDigit(e.Peek())) return 0;
    std::int64_t value = 0;
    for (; IsDigit(e.Peek()); e.Next()) {
        if (value < kExponentCap) value = value * 10 + (e.Peek() - '0');
    }
    c = e;
    return negative ? -value : value;
}

// The rounded magnitude of a decimal number; negative is set for a "-".
std::int64_t ReadDecimal(Characters& c, bool& negative) {
    if (c.Peek() == '+' || c.Peek() == '-') {
        negative = c.Peek() == '-';
        c.Next();
    }
    Significant digits;
    // Where the point stands, counted in significant digits: the value is
    // 0.d1d2d3... x 10^pointAfter before the exponent.
    std::int64_t pointAfter = 0;
    bool anyDigit = false;
    for (; IsDigit(c.Peek()); c.Next()) {
        anyDigit = true;
        const int digit = c.Peek() - '0';
        if (digits.Empty() && digit == 0) continue;
        digits.Add(digit);
        ++pointAfter;
    }
    if (c.Peek() == '.') {
        for (c.Next(); IsDigit(c.Peek()); c.Next()) {
            anyDigit = true;
            const int digit = c.Peek() - '0';
            if (digits.Empty() && digit == 0)
                --pointAfter;
            else
                digits.Add(digit);
        }
    }
    if (!anyDigit) return 0;
    const std::int64_t exponent = c.Peek() == 'E' || c.Peek() == 'e' ? ReadExponent(c) : 0;
    if (digits.Empty()) return 0;
    return digits.Rounded(pointAfter + exponent);
}

std::int64_t ReadMagnitude(std::string_view text, bool& negative) {
    Characters c(text);
    if (c.Peek() != '&') return ReadDecimal(c, negative);
    c.Next();
    const char kind = c.Peek();
    c.Next();
    if (kind == 'H' || kind == 'h') return ReadRadixDigits(c, 16);
    if (kind == 'O' || kind == 'o') return ReadRadixDigits(c, 8);
    return 0;
}

}  // namespace

std::int32_t ReadRoundedNumber(std::string_view text, std::int32_t low, std::int32_t high) {
    bool negative = false;
    const std::int64_t magnitude = ReadMagnitude(text, negative);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < low) return low;
    if (value > high) return high;
    return static_cast<std::int32_t>(value);
}

std::int16_t ReadCompanionFileType(std::string_view text) {
    return static_cast<std::int16_t>(ReadRoundedNumber(text.substr(0, kFileTypeLength), -32768, 32767));
}

std::int16_t ReadCompanionIconIndex(std::string_view text) {
    return static_cast<std::int16_t>(ReadRoundedNumber(text.substr(0, kIconIndexLength), kMinIconIndex, kMaxIconIndex));
}

std::int16_t ReadIconIndex(std::string_view text) {
    return static_cast<std::int16_t>(ReadRoundedNumber(text, kMinIconIndex, kMaxIconIndex));
}
