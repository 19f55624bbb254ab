// The program part of association commands, the icon split, and the lookup
// against the simulated HKEY_CLASSES_ROOT.
#include "companions/FileAssociation.h"

#include "platform/sim/SimDesktop.h"
#include "registry/Rmod.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CommandCase {
    const char* command;
    const char* program;
};

}  // namespace

TEST(ProgramFromCommand, TakesTheProgramPartOfACommand) {
    const CommandCase cases[] = {
        {"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"", "C:\\Program Files\\Browser\\browser.exe"},
        {"\"C:\\Program Files\\Browser\\browser.exe\" -nohome", "C:\\Program Files\\Browser\\browser.exe -nohome"},
        {"C:\\WINDOWS\\NOTEPAD.EXE %1", "C:\\WINDOWS\\NOTEPAD.EXE"},
        {"browser.exe -url \"%1\"", "browser.exe -url"},
        {"rundll32.exe \"x.dll\",Run %1", "rundll32.exe"},
        {"\"C:\\a b\\app.exe\"", "C:\\a b\\app.exe"},
        {"\"C:\\a b\\app.exe\" -x \"y\"", "C:\\a b\\app.exe -x"},
        {"\"%1\" %*", ""},  // the placeholder inside quotes ends the scan too
        {"app.exe %2 %1", "app.exe %2"},
        {"app.exe %", "app.exe %"},
        {"\"app %\"1 x", "app %1 x"},  // only an adjacent "%1" ends the scan
        {"\"", ""},
        {"\"unclosed path", "unclosed path"},
        {"", ""},
        {"   ", ""},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(ProgramFromCommand(c.command), c.program) << "command: " << c.command;
    }
}

TEST(SplitIcon, CutsAtTheFirstComma) {
    std::string file = "caller.ico";
    std::int16_t index = 9;
    SplitIcon("C:\\x\\app.exe,-3", file, index);
    EXPECT_EQ(file, "C:\\x\\app.exe");
    EXPECT_EQ(index, -3);

    SplitIcon("a.dll,2,5", file, index);
    EXPECT_EQ(file, "a.dll");
    EXPECT_EQ(index, 2);

    SplitIcon(" b.dll ,  &H10", file, index);
    EXPECT_EQ(file, "b.dll");
    EXPECT_EQ(index, 16);

    SplitIcon("c.dll,", file, index);
    EXPECT_EQ(file, "c.dll");
    EXPECT_EQ(index, 0);

    SplitIcon("d.dll,2.5", file, index);
    EXPECT_EQ(index, 2);
}

TEST(SplitIcon, WithoutACommaKeepsTheCallersValuesTrimmed) {
    std::string file = "  caller.ico ";
    std::int16_t index = 7;
    SplitIcon("%1", file, index);
    EXPECT_EQ(file, "caller.ico");
    EXPECT_EQ(index, 7);
}

TEST(SplitIcon, AnIndexBeyond16BitsStaysWithin32767) {
    std::string file;
    std::int16_t index = 0;
    SplitIcon("x.dll,40000", file, index);
    EXPECT_EQ(index, 32767);
    SplitIcon("x.dll,-40000", file, index);
    EXPECT_EQ(index, -32767);
    SplitIcon("x.dll,1E400", file, index);
    EXPECT_EQ(index, 32767);
    SplitIcon("x.dll," + std::string(5000, '9'), file, index);
    EXPECT_EQ(index, 32767);
}

TEST(TrimBlanks, RemovesBlanksOnlyAtBothEnds) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("    "), "");
    EXPECT_EQ(TrimBlanks(""), "");
}

class LookUpFileAssociationTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }

    static void SetDefault(const std::string& key, const std::string& value) {
        Rmod::SetRegistryValue(HKEY_CLASSES_ROOT, key, "", value, REG_SZ);
    }

    // Outputs preset so that untouched ones show.
    std::string description = "d0", command = "c0", program = "p0", iconFile = "i0";
    std::int16_t iconIndex = 42;
    bool found = true;

    void LookUp(const std::string& fileName, const std::string& verb = "open") {
        LookUpFileAssociation(fileName, verb, description, command, program, iconFile, iconIndex, found);
    }
};

TEST_F(LookUpFileAssociationTest, FollowsExtensionTypeCommandAndIcon) {
    SetDefault(".html", "htmlfile");
    SetDefault("htmlfile", " HTML Document ");
    SetDefault("htmlfile\\shell\\open\\command", "  \"C:\\Program Files\\Browser\\browser.exe\" \"%1\"  ");
    SetDefault("htmlfile\\shell\\edit\\command", "C:\\WINDOWS\\NOTEPAD.EXE %1");
    SetDefault("htmlfile\\DefaultIcon", " C:\\Program Files\\Browser\\browser.exe , 1 ");

    LookUp("C:\\Text.html");
    EXPECT_TRUE(found);
    EXPECT_EQ(description, " HTML Document ");  // as read
    EXPECT_EQ(command, "\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"");
    EXPECT_EQ(program, "C:\\Program Files\\Browser\\browser.exe");
    EXPECT_EQ(iconFile, "C:\\Program Files\\Browser\\browser.exe");
    EXPECT_EQ(iconIndex, 1);

    LookUp("index.html", "edit");
    EXPECT_EQ(program, "C:\\WINDOWS\\NOTEPAD.EXE");
}

TEST_F(LookUpFileAssociationTest, AFileTypeEndingInABackslashGetsNoSecondOne) {
    SetDefault(".txt", "txtfile\\");
    SetDefault("txtfile\\shell\\open\\command", "notepad.exe %1");
    LookUp("readme.txt");
    EXPECT_TRUE(found);
    EXPECT_EQ(program, "notepad.exe");
}

TEST_F(LookUpFileAssociationTest, AMissingTypeChangesNothingButFound) {
    LookUp("C:\\Text.html");
    EXPECT_FALSE(found);
    EXPECT_EQ(description, "d0");
    EXPECT_EQ(command, "c0");
    EXPECT_EQ(program, "p0");
    EXPECT_EQ(iconFile, "i0");
    EXPECT_EQ(iconIndex, 42);

    SetDefault(".html", "");  // an empty type name counts as missing
    found = true;
    LookUp("C:\\Text.html");
    EXPECT_FALSE(found);
}

TEST_F(LookUpFileAssociationTest, ANameWithoutADotReadsTheKeyDotAlone) {
    SetDefault(".", "dotfile");
    SetDefault("dotfile\\shell\\open\\command", "viewer.exe %1");
    LookUp("README");
    EXPECT_TRUE(found);
    EXPECT_EQ(program, "viewer.exe");
}

TEST_F(LookUpFileAssociationTest, ATypeWithoutCommandOrIconIsFoundButEmpty) {
    SetDefault(".xyz", "xyzfile");
    iconFile = "  kept.ico ";
    LookUp("a.xyz");
    EXPECT_TRUE(found);
    EXPECT_EQ(description, "");
    EXPECT_EQ(command, "");
    EXPECT_EQ(program, "");
    EXPECT_EQ(iconFile, "kept.ico");  // kept, but trimmed
    EXPECT_EQ(iconIndex, 42);
}
