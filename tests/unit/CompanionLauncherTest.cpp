// Launching companions: programs in their own folder, folders with the
// browse application, the prompt for a new browse application, and the
// current directory given back to the starter every time.
#include "companions/CompanionLauncher.h"

#include "RegistryProbe.h"
#include "companions/KZShellRegistration.h"
#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kKey = "Software\\Quellmar\\KZHalvane\\";
const char* const kStarterFolder = "C:\\Program Files\\Quellmar";

// Directories as GetCurrentDirectoryA gives them: no closing "\" but on a
// drive root.
std::string WithoutClosingBackslash(std::string dir) {
    if (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
    return dir;
}

class CompanionLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        list.SetUpCompanionList(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\", "", 0, "", 0);
    }

    // Stores slot n as a suite program would and reloads the list, as the
    // popup menu does before every launch.
    void StoreSlot(int n, const std::string& fileType, const std::string& applicationName) {
        std::string s = std::to_string(n);
        probe::WriteText(HKEY_LOCAL_MACHINE, kKey, "file type" + s, fileType);
        probe::WriteText(HKEY_LOCAL_MACHINE, kKey, "application name" + s, applicationName);
        list.LoadCompanionList();
    }
    void StoreBrowseApplication(const std::string& browser) {
        probe::WriteText(HKEY_LOCAL_MACHINE, kKey, "browse application", browser);
        list.LoadCompanionList();
    }

    static void ExpectBackInStarterFolder() {
        EXPECT_EQ(WithoutClosingBackslash(sim::CurrentDirectory()), kStarterFolder);
    }
    static void ExpectNothingHappened() {
        EXPECT_TRUE(sim::Processes().empty());
        EXPECT_TRUE(sim::MessageBoxes().empty());
        EXPECT_TRUE(sim::InputBoxes().empty());
    }

    CompanionList list;
};

}  // namespace

TEST_F(CompanionLauncherTest, AnIndexOutsideTheSlotsDoesNothing) {
    for (int n = 1; n <= 5; ++n) StoreSlot(n, "1", "C:\\windows\\system32\\notepad.exe");
    for (std::int16_t index : {0, 6, -1, 32767}) LaunchCompanion(list, index);
    ExpectNothingHappened();
}

TEST_F(CompanionLauncherTest, EmptySlotsAndUnknownKindsDoNothing) {
    StoreSlot(1, "0", "C:\\windows\\system32\\notepad.exe");
    StoreSlot(2, "3", "C:\\windows\\system32\\notepad.exe");
    StoreSlot(3, "1", "");
    StoreSlot(4, "-1", "C:\\windows\\");
    for (std::int16_t index = 1; index <= 5; ++index) LaunchCompanion(list, index);
    ExpectNothingHappened();
}

TEST_F(CompanionLauncherTest, AProgramStartsInItsOwnFolder) {
    sim::AddProgram("C:\\Tools\\tool.exe");
    sim::AddFolder("C:\\Data");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\Data"));
    StoreSlot(2, "1", "C:\\Tools\\tool.exe -x");
    LaunchCompanion(list, 2);

    ASSERT_EQ(sim::Processes().size(), 1u);
    const sim::ProcessStart& start = sim::Processes()[0];
    EXPECT_EQ(start.commandLine, "C:\\Tools\\tool.exe -x");  // unchanged, arguments and all
    EXPECT_EQ(WithoutClosingBackslash(start.currentDirectory), "C:\\Tools");
    EXPECT_EQ(start.showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(sim::MessageBoxes().empty());
    ExpectBackInStarterFolder();  // not the C:\Data it was before
}

TEST_F(CompanionLauncherTest, AProgramOnAnotherDriveStartsInItsOwnFolderToo) {
    sim::AddProgram("D:\\Apps\\app.exe");
    StoreSlot(1, "1", "D:\\Apps\\app.exe");
    LaunchCompanion(list, 1);

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(WithoutClosingBackslash(sim::Processes()[0].currentDirectory), "D:\\Apps");
    ExpectBackInStarterFolder();
}

TEST_F(CompanionLauncherTest, AProgramWhoseFolderIsMissingStartsInTheCurrentDirectory) {
    StoreSlot(1, "1", "notepad.exe");  // found on the search path; no folder part
    LaunchCompanion(list, 1);
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(WithoutClosingBackslash(sim::Processes()[0].currentDirectory), kStarterFolder);
}

TEST_F(CompanionLauncherTest, SystemRootBecomesTheWindowsDirectory) {
    sim::SetWindowsDirectory("C:\\WINDOWS");
    sim::AddProgram("C:\\WINDOWS\\notepad.exe");
    StoreSlot(1, "1", "%SystemRoot%\\notepad.exe");
    LaunchCompanion(list, 1);

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "C:\\WINDOWS\\\\notepad.exe");  // the token's "\" stays
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(CompanionLauncherTest, OnlyTheFirstSystemRootIsReplacedInAnyCase) {
    StoreSlot(1, "1", "C:\\missing\\%SYSTEMroot%x%systemroot%");
    LaunchCompanion(list, 1);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text,
              "Error starting application 'C:\\missing\\" + GetWindowsPath() + "x%systemroot%' !");
}

TEST_F(CompanionLauncherTest, AMissingProgramIsReportedOnce) {
    StoreSlot(4, "1", "C:\\Halvane\\gone.exe");
    LaunchCompanion(list, 4);

    EXPECT_TRUE(sim::Processes().empty());
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    const sim::MessageBoxCall& box = sim::MessageBoxes()[0];
    EXPECT_EQ(box.text, "Error starting application 'C:\\Halvane\\gone.exe' !");
    EXPECT_EQ(box.style, 48u);
    EXPECT_EQ(box.caption, "Quellmar Starter");
    EXPECT_TRUE(sim::InputBoxes().empty());
    ExpectBackInStarterFolder();
}

TEST_F(CompanionLauncherTest, AProgramPathWithBlanksIsNotTakenForAShorterOne) {
    sim::AddProgram("C:\\Program Files\\Halvane\\Tagger.exe");
    sim::AddProgram("C:\\Program.exe");  // what an unquoted command line would start
    StoreSlot(1, "1", "C:\\Program Files\\Halvane\\Tagger.exe");
    LaunchCompanion(list, 1);

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "\"C:\\Program Files\\Halvane\\Tagger.exe\"");
    EXPECT_EQ(sim::Processes()[0].program, "C:\\Program Files\\Halvane\\Tagger.exe");
}

TEST_F(CompanionLauncherTest, AFolderOpensWithTheBrowseApplication) {
    sim::AddFolder("C:\\Music");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    StoreSlot(3, "2", "C:\\Music\\");
    LaunchCompanion(list, 3);

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe C:\\Music\\");
    // "explorer.exe" has no folder part: the current directory stays.
    EXPECT_EQ(sim::Processes()[0].currentDirectory, "C:\\");
    EXPECT_EQ(sim::Processes()[0].showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(sim::InputBoxes().empty());
    ExpectBackInStarterFolder();
}

TEST_F(CompanionLauncherTest, ABrowseApplicationWithAFolderStartsThere) {
    sim::AddFolder("C:\\Music");
    sim::AddProgram("C:\\Tools\\browse.exe");
    StoreBrowseApplication("C:\\Tools\\browse.exe");
    StoreSlot(3, "2", "C:\\Music\\");
    LaunchCompanion(list, 3);

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "C:\\Tools\\browse.exe C:\\Music\\");
    EXPECT_EQ(WithoutClosingBackslash(sim::Processes()[0].currentDirectory), "C:\\Tools");
    ExpectBackInStarterFolder();
}

TEST_F(CompanionLauncherTest, AMissingFolderDoesNothingEvenWithoutABrowser) {
    StoreBrowseApplication("C:\\missing\\browse.exe");
    StoreSlot(3, "2", "C:\\Music\\");
    LaunchCompanion(list, 3);
    ExpectNothingHappened();
}

TEST_F(CompanionLauncherTest, AMissingBrowserIsAskedForAndStored) {
    sim::AddFolder("C:\\Music");
    StoreBrowseApplication("C:\\missing\\browse.exe");
    probe::WriteText(HKEY_LOCAL_MACHINE, kKey, "application name1", "C:\\Halvane\\app1.exe");
    StoreSlot(3, "2", "C:\\Music\\");
    sim::AnswerInputBoxes({"C:\\windows\\explorer.exe"});
    LaunchCompanion(list, 3);

    ASSERT_EQ(sim::InputBoxes().size(), 1u);
    EXPECT_EQ(sim::InputBoxes()[0].prompt,
              "Please enter path to browse application (C:\\missing\\browse.exe not found):");
    EXPECT_EQ(sim::InputBoxes()[0].title, "Error during browsing");
    EXPECT_EQ(sim::InputBoxes()[0].defaultText, "");

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "C:\\windows\\explorer.exe C:\\Music\\");
    EXPECT_EQ(WithoutClosingBackslash(sim::Processes()[0].currentDirectory), "C:\\windows");
    ExpectBackInStarterFolder();

    EXPECT_EQ(list.BrowseApplication, "C:\\windows\\explorer.exe");
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "browse application").data, "C:\\windows\\explorer.exe");
    // The rest of the list went back with it.
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "application name1").data, "C:\\Halvane\\app1.exe");
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "file type3").data, "2");
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(CompanionLauncherTest, EveryAnswerIsStoredBeforeItIsTried) {
    sim::AddFolder("C:\\Music");
    StoreBrowseApplication("C:\\missing\\browse.exe");
    StoreSlot(3, "2", "C:\\Music\\");
    sim::AnswerInputBoxes({"C:\\wrong\\one.exe", "explorer.exe"});
    std::vector<std::string> storedWhenAsked;
    sim::SetInputBoxHook([&](const sim::InputBoxCall&) {
        storedWhenAsked.push_back(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "browse application").data);
    });
    LaunchCompanion(list, 3);

    ASSERT_EQ(sim::InputBoxes().size(), 2u);
    EXPECT_EQ(sim::InputBoxes()[1].prompt,
              "Please enter path to browse application (C:\\wrong\\one.exe not found):");
    EXPECT_EQ(storedWhenAsked, (std::vector<std::string>{"C:\\missing\\browse.exe", "C:\\wrong\\one.exe"}));
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe C:\\Music\\");
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "browse application").data, "explorer.exe");
}

TEST_F(CompanionLauncherTest, CancelStopsWithoutWritingAndTheNextLoadRestores) {
    sim::AddFolder("C:\\Music");
    StoreBrowseApplication("C:\\missing\\browse.exe");
    StoreSlot(3, "2", "C:\\Music\\");
    sim::AnswerInputBoxes({""});
    LaunchCompanion(list, 3);

    EXPECT_EQ(sim::InputBoxes().size(), 1u);
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_EQ(list.BrowseApplication, "");
    EXPECT_EQ(probe::ReadValue(HKEY_LOCAL_MACHINE, kKey, "browse application").data, "C:\\missing\\browse.exe");
    ExpectBackInStarterFolder();

    list.LoadCompanionList();
    EXPECT_EQ(list.BrowseApplication, "C:\\missing\\browse.exe");
}

TEST_F(CompanionLauncherTest, FolderPathsKeepTheSystemRootToken) {
    sim::AddFolder("C:\\%systemroot%");
    StoreSlot(1, "2", "C:\\%systemroot%\\");
    LaunchCompanion(list, 1);
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe C:\\%systemroot%\\");
}

TEST(GetWindowsPath, EndsWithOneBackslash) {
    sim::Reset();
    sim::SetWindowsDirectory("C:\\WINDOWS");
    EXPECT_EQ(GetWindowsPath(), "C:\\WINDOWS\\");
    sim::SetWindowsDirectory("C:\\");
    EXPECT_EQ(GetWindowsPath(), "C:\\");
}

TEST(GetWindowsPath, ReadsADirectoryLongerThanAPathBuffer) {
    sim::Reset();
    std::string deep = "C:";
    while (deep.size() < 300) deep += "\\level";
    sim::SetWindowsDirectory(deep);
    EXPECT_EQ(GetWindowsPath(), deep + "\\");
}
