// Reading numbers from texts written by other programs.
#include "companions/NumberText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kLow = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHigh = std::numeric_limits<std::int32_t>::max();

struct Case {
    std::string text;
    std::int32_t expected;
};

void ExpectRead(const std::vector<Case>& cases, std::int32_t low = kLow, std::int32_t high = kHigh) {
    for (const Case& c : cases)
        EXPECT_EQ(ReadRoundedNumber(c.text, low, high), c.expected) << "text '" << c.text << "'";
}

}  // namespace

// A wrong stop character, sign or point handling.
TEST(ReadRoundedNumber, TakesTheNumberAtTheStart) {
    ExpectRead({{"1", 1}, {"2abc", 2}, {"", 0}, {"x", 0}, {"x1", 0}, {"-3", -3}, {"+4", 4}, {"7.", 7},
                {".75", 1}, {"-.75", -1}, {"1.2.3", 1}, {"--1", 0}, {".", 0}, {"-", 0}, {"00012", 12}});
}

// An ignored character too few or too many (a carriage return counts).
TEST(ReadRoundedNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
    ExpectRead({{" 1", 1}, {"1 2\t3\n4", 1234}, {"- 1 . 7", -2}, {"1 E 2", 100}, {"& h 1F", 31}, {"\r1", 0},
                {" \t\n", 0}});
}

// An exponent taken without its digits, or its sign lost.
TEST(ReadRoundedNumber, ReadsAnExponentOnlyWhenItHasDigits) {
    ExpectRead({{"1E3", 1000}, {"1e3", 1000}, {"35E-1", 4}, {"1E+2", 100}, {"2E", 2}, {"2E-", 2}, {"2Ex", 2},
                {"E5", 0}, {"2D3", 2}, {"5E-1", 0}, {"0.05E2", 5}});
}

// A wrong base, prefix or digit range.
TEST(ReadRoundedNumber, ReadsHexadecimalAndOctal) {
    ExpectRead({{"&H10", 16}, {"&hff", 255}, {"&HFFg", 255}, {"&O17", 15}, {"&o78", 7}, {"&H", 0}, {"&X1", 0},
                {"&", 0}, {"-&H10", 0}});
}

// Halves rounded away from zero or up, or digits past a double's precision
// lost: the rounding is exact.
TEST(ReadRoundedNumber, HalvesGoToTheEvenNeighbourExactly) {
    ExpectRead({{"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"-0.5", 0}, {"-1.5", -2}, {"-2.5", -2}, {"2.4999", 2},
                {"2.5001", 3}, {"-2.6", -3}, {"2.50000000000000000001", 3}, {"-2.50000000000000000001", -3},
                {"0." + std::string(400, '0') + "1E401", 1}, {"25" + std::string(30, '0') + "1E-32", 3}});
}

// A value beyond the limits wrapped around or cut wrongly.
TEST(ReadRoundedNumber, HoldsToTheLimits) {
    ExpectRead({{"40000", 32767}, {"-40000", -32768}, {"32767.5", 32767}, {"-32768.5", -32768}, {"9E99", 32767},
                {"-9E99", -32768}, {"1E99999999999999999999", 32767}, {"0E99999", 0}, {"1E-400", 0},
                {std::string(400, '9'), 32767}, {"&H" + std::string(300, 'F'), 32767}},
               -32768, 32767);
    ExpectRead({{"2147483647.4", kHigh}, {"3E9", kHigh}, {"-2147483648", kLow}, {"-1E400", kLow}});
}

// The cut at four characters, the sign or the 16-bit limits.
TEST(CompanionNumbers, FileTypeReadsTheFirstFourCharacters) {
    const std::vector<Case> cases = {{"1", 1}, {"1.5", 2}, {"2.5", 2}, {"12345", 1234}, {" 1", 1},
                                     {"   12", 1}, {"    12", 0}, {"", 0}, {"-3", -3}, {"9E99", 32767},
                                     {"-9E9", -32768}, {"&H7FFFFFFF", 127}};
    for (const Case& c : cases) EXPECT_EQ(ReadCompanionFileType(c.text), c.expected) << "text '" << c.text << "'";
}

// The cut at eight characters, or -32768 let through.
TEST(CompanionNumbers, IconIndexReadsEightCharactersAndStaysWithin32767) {
    const std::vector<Case> cases = {{"40000", 32767}, {"-40000", -32767}, {"-32768", -32767}, {"123456789", 32767},
                                     {"-3", -3}, {"0.5", 0}, {"        7", 0}, {"9E99", 32767}, {"-9E99", -32767},
                                     {"", 0}, {"1234567.5", 32767}};
    for (const Case& c : cases) EXPECT_EQ(ReadCompanionIconIndex(c.text), c.expected) << "text '" << c.text << "'";
    EXPECT_EQ(ReadIconIndex("-40000.5"), -32767);
    EXPECT_EQ(ReadIconIndex("        7"), 7);  // not cut
}
