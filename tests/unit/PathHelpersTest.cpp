// Cutting paths at their last separator, and shortening menu captions.
#include "companions/PathHelpers.h"

#include <gtest/gtest.h>

#include <string>

TEST(PathHelpers, GetFileNameTakesWhatFollowsTheLastBackslash) {
    EXPECT_EQ(GetFileName("C:\\dir\\file.exe"), "file.exe");
    EXPECT_EQ(GetFileName("C:\\a\\b\\c"), "c");
    EXPECT_EQ(GetFileName("file.exe"), "");  // no backslash, no file name
    EXPECT_EQ(GetFileName("C:\\dir\\"), "");
    EXPECT_EQ(GetFileName("C:/dir/file.exe"), "");  // a slash is no separator
    EXPECT_EQ(GetFileName(""), "");
}

TEST(PathHelpers, GetFolderKeepsTheLastBackslash) {
    EXPECT_EQ(GetFolder("C:\\dir\\file.exe"), "C:\\dir\\");
    EXPECT_EQ(GetFolder("explorer.exe"), "");
    EXPECT_EQ(GetFolder("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(GetFolder("C:\\Tools\\tool.exe -x"), "C:\\Tools\\");
    EXPECT_EQ(GetFolder("\\"), "\\");
    EXPECT_EQ(GetFolder(""), "");
}

TEST(PathHelpers, GetExtensionTakesWhatFollowsTheLastDotAnywhere) {
    EXPECT_EQ(GetExtension("C:\\Text.html"), "html");
    EXPECT_EQ(GetExtension("file."), "");
    EXPECT_EQ(GetExtension("C:\\my.dir\\file"), "dir\\file");  // the dot of a folder counts
    EXPECT_EQ(GetExtension("a.b.c"), "c");
    EXPECT_EQ(GetExtension("noext"), "");
    EXPECT_EQ(GetExtension(""), "");
}

TEST(PathHelpers, RemoveExtensionDropsFromTheLastDotOn) {
    EXPECT_EQ(RemoveExtension("C:\\dir\\file.exe"), "C:\\dir\\file");
    EXPECT_EQ(RemoveExtension("a.b.c"), "a.b");
    EXPECT_EQ(RemoveExtension("C:\\my.dir\\file"), "C:\\my");
    EXPECT_EQ(RemoveExtension(".profile"), "");
    EXPECT_EQ(RemoveExtension("noext"), "noext");
    EXPECT_EQ(RemoveExtension(""), "");
}

TEST(PathHelpers, ShortenTextKeepsTheEndBehindAnEllipsis) {
    const std::string fifty(50, 'a');
    EXPECT_EQ(ShortenText(fifty, 50, {}), fifty);

    std::string fiftyOne;
    for (int i = 0; i < 51; ++i) fiftyOne += static_cast<char>('A' + i % 26);
    std::string shortened = ShortenText(fiftyOne, 50, {});
    EXPECT_EQ(shortened.size(), 50u);
    EXPECT_EQ(shortened, "..." + fiftyOne.substr(4));
}

TEST(PathHelpers, ShortenTextRaisesATooSmallLimitToThree) {
    EXPECT_EQ(ShortenText("abcd", 0, {}), "...");
    EXPECT_EQ(ShortenText("abcd", -5, {}), "...");
    EXPECT_EQ(ShortenText("abcd", 2, {}), "...");
    EXPECT_EQ(ShortenText("abc", 0, {}), "abc");  // fits within three
    EXPECT_EQ(ShortenText("abcd", 4, {}), "abcd");
    EXPECT_EQ(ShortenText("abcde", 4, {}), "...e");
    EXPECT_EQ(ShortenText("", 0, {}), "");
}

TEST(PathHelpers, ShortenTextHandlesThePathLimit) {
    // Compared as booleans: a failure would otherwise print 32767 characters.
    const std::string longest(32767, 'x');
    EXPECT_TRUE(ShortenText(longest, 32767, {}) == longest);
    std::string shortened = ShortenText(longest + "y", 32767, {});
    EXPECT_EQ(shortened.size(), 32767u);
    EXPECT_TRUE(shortened == "..." + longest.substr(4) + "y");
}
