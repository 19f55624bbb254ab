// Reading numbers from texts written by other programs.
#include "companions/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(ReadNumber, TakesTheNumberAtTheStart) {
    EXPECT_EQ(ReadNumber("1"), 1);
    EXPECT_EQ(ReadNumber("2abc"), 2);
    EXPECT_EQ(ReadNumber(""), 0);
    EXPECT_EQ(ReadNumber("x"), 0);
    EXPECT_EQ(ReadNumber("x1"), 0);
    EXPECT_EQ(ReadNumber("-3"), -3);
    EXPECT_EQ(ReadNumber("+4"), 4);
    EXPECT_EQ(ReadNumber("1.5"), 1.5);
    EXPECT_EQ(ReadNumber(".25"), 0.25);
    EXPECT_EQ(ReadNumber("-.5"), -0.5);
    EXPECT_EQ(ReadNumber("7."), 7);
    EXPECT_EQ(ReadNumber("1.2.3"), 1.2);
    EXPECT_EQ(ReadNumber("--1"), 0);
    EXPECT_EQ(ReadNumber("."), 0);
    EXPECT_EQ(ReadNumber("-"), 0);
}

TEST(ReadNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(ReadNumber(" 1"), 1);
    EXPECT_EQ(ReadNumber("1 2\t3\n4"), 1234);
    EXPECT_EQ(ReadNumber("- 1 . 5"), -1.5);
    EXPECT_EQ(ReadNumber("1 E 2"), 100);
    EXPECT_EQ(ReadNumber("& h 1F"), 31);
    EXPECT_EQ(ReadNumber("\r1"), 0);  // a carriage return is not ignored
    EXPECT_EQ(ReadNumber(" \t\n"), 0);
}

TEST(ReadNumber, ReadsAnExponentOnlyWhenItHasDigits) {
    EXPECT_EQ(ReadNumber("1E3"), 1000);
    EXPECT_EQ(ReadNumber("1e3"), 1000);
    EXPECT_EQ(ReadNumber("25E-1"), 2.5);
    EXPECT_EQ(ReadNumber("1E+2"), 100);
    EXPECT_EQ(ReadNumber("2E"), 2);
    EXPECT_EQ(ReadNumber("2E-"), 2);
    EXPECT_EQ(ReadNumber("2Ex"), 2);
    EXPECT_EQ(ReadNumber("E5"), 0);
    EXPECT_EQ(ReadNumber("2D3"), 2);
}

TEST(ReadNumber, ReadsHexadecimalAndOctal) {
    EXPECT_EQ(ReadNumber("&H10"), 16);
    EXPECT_EQ(ReadNumber("&hff"), 255);
    EXPECT_EQ(ReadNumber("&HFFg"), 255);
    EXPECT_EQ(ReadNumber("&O17"), 15);
    EXPECT_EQ(ReadNumber("&o78"), 7);
    EXPECT_EQ(ReadNumber("&H"), 0);
    EXPECT_EQ(ReadNumber("&X1"), 0);
    EXPECT_EQ(ReadNumber("&"), 0);
    EXPECT_EQ(ReadNumber("-&H10"), 0);  // the prefix must lead
}

TEST(ReadNumber, GivesInfinityOrZeroBeyondADouble) {
    EXPECT_EQ(ReadNumber("9E99"), 9e99);
    EXPECT_EQ(ReadNumber("1E400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadNumber("-1E400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadNumber("1E-400"), 0);
    EXPECT_EQ(ReadNumber("1E99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadNumber("0E99999"), 0);
    EXPECT_EQ(ReadNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadNumber("&H" + std::string(300, 'F')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadNumber("0." + std::string(400, '0') + "1E401"), 1);
}

TEST(RoundToInt, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundToInt32(0.5), 0);
    EXPECT_EQ(RoundToInt32(1.5), 2);
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(-0.5), 0);
    EXPECT_EQ(RoundToInt32(-1.5), -2);
    EXPECT_EQ(RoundToInt32(-2.5), -2);
    EXPECT_EQ(RoundToInt32(2.4999), 2);
    EXPECT_EQ(RoundToInt32(2.5001), 3);
    EXPECT_EQ(RoundToInt32(-2.6), -3);
}

TEST(RoundToInt, HoldsToTheLimitsOfTheTarget) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), 32767);
    EXPECT_EQ(RoundToInt16(40000), 32767);
    EXPECT_EQ(RoundToInt16(-32768.4), -32768);
    EXPECT_EQ(RoundToInt16(-1e300), -32768);
    EXPECT_EQ(RoundToInt16(inf), 32767);
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToInt32(3e9), 2147483647);
    EXPECT_EQ(RoundToInt32(-inf), -2147483647 - 1);
    EXPECT_EQ(RoundToInt32(std::nan("")), 0);
}

TEST(CompanionNumbers, FileTypeReadsTheFirstFourCharacters) {
    EXPECT_EQ(ReadCompanionFileType("1"), 1);
    EXPECT_EQ(ReadCompanionFileType("1.5"), 2);
    EXPECT_EQ(ReadCompanionFileType("2.5"), 2);
    EXPECT_EQ(ReadCompanionFileType("12345"), 1234);
    EXPECT_EQ(ReadCompanionFileType(" 1"), 1);
    EXPECT_EQ(ReadCompanionFileType("   12"), 1);  // cut to "   1"
    EXPECT_EQ(ReadCompanionFileType("    12"), 0);  // the digits lie past the cut
    EXPECT_EQ(ReadCompanionFileType(""), 0);
    EXPECT_EQ(ReadCompanionFileType("-3"), -3);
    EXPECT_EQ(ReadCompanionFileType("9E99"), 32767);
    EXPECT_EQ(ReadCompanionFileType("-9E9"), -32768);
    EXPECT_EQ(ReadCompanionFileType("&H7FFFFFFF"), 127);  // cut to &H7F
}

TEST(CompanionNumbers, IconIndexReadsEightCharactersAndStaysWithin32767) {
    EXPECT_EQ(ReadCompanionIconIndex("40000"), 32767);
    EXPECT_EQ(ReadCompanionIconIndex("-40000"), -32767);
    EXPECT_EQ(ReadCompanionIconIndex("-32768"), -32767);
    EXPECT_EQ(ReadCompanionIconIndex("123456789"), 32767);
    EXPECT_EQ(ReadCompanionIconIndex("-3"), -3);
    EXPECT_EQ(ReadCompanionIconIndex("0.5"), 0);
    EXPECT_EQ(ReadCompanionIconIndex("        7"), 0);  // cut to eight blanks
    EXPECT_EQ(ReadCompanionIconIndex("9E99"), 32767);
    EXPECT_EQ(ReadCompanionIconIndex("-9E99"), -32767);
    EXPECT_EQ(ReadCompanionIconIndex(""), 0);
}
