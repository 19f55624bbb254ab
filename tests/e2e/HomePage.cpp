// "Visit &Homepage": the home page's address handed to the program that
// opens ".html" files, to the Explorer when there is no such program, and
// a message naming the address when neither can be started. The test
// changes the ".html" association of the machine and puts it back after.
#include "harness/StarterTest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr const char* kHost = "www.quellmar.example";
constexpr const char* kPageType = "QuellmarTests.Page";
constexpr const char* kPageCommandKey = "QuellmarTests.Page\\shell\\open\\command";
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

class HomePage : public StarterTest {
protected:
    void SetUp() override {
        StarterTest::SetUp();
        DeleteRegistryTree(HKEY_CLASSES_ROOT, kPageType);
    }
    void TearDown() override {
        StarterTest::TearDown();
        DeleteRegistryTree(HKEY_CLASSES_ROOT, kPageType);
    }

    std::string browserPath() const { return JoinPath(folder(), "Browser\\browser.exe"); }

    // ".html" files are of the test's type; its "open" command is given
    // (nullptr: the type has no command).
    static bool AssociateHtml(const char* command) {
        if (!WriteRegistryString(HKEY_CLASSES_ROOT, ".html", "", kPageType)) return false;
        if (!WriteRegistryString(HKEY_CLASSES_ROOT, kPageType, "", "Quellmar tests page")) return false;
        return !command || WriteRegistryString(HKEY_CLASSES_ROOT, kPageCommandKey, "", command);
    }
    static bool RemoveHtmlAssociation() {
        return DeleteRegistryValue(HKEY_CLASSES_ROOT, ".html", "") &&
               !ReadRegistryValue(HKEY_CLASSES_ROOT, ".html", "").present;
    }

    // Starts the starter and chooses "Visit &Homepage".
    void VisitHomePage(StartedProcess& starter, HWND& icon) {
        icon = StartStarterWithIcon(starter);
        ASSERT_NE(icon, nullptr);
        ASSERT_TRUE(starter.WaitUntilIdle());
        ASSERT_NE(OpenMenu(icon, starter), nullptr);
        PressKey('H');
    }

    static std::vector<ReporterStart> WaitForStarts(const std::string& path) {
        std::vector<ReporterStart> starts;
        WaitUntil([&] { return !(starts = ReporterStarts(path)).empty(); });
        return starts;
    }

    // What the test changes of the machine's associations is put back.
    SavedRegistryValue html_{HKEY_CLASSES_ROOT, ".html", ""};
};

struct BrowserCase {
    const char* name;
    const char* commandPattern;  // "%p" stands for the browser's path
    const char* arguments;       // what follows the browser's path on its command line
};

void PrintTo(const BrowserCase& c, std::ostream* os) { *os << c.name; }

std::string Expand(const std::string& pattern, const std::string& path) {
    std::string text = pattern;
    std::string::size_type at = text.find("%p");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}

class HomePageBrowser : public HomePage, public ::testing::WithParamInterface<BrowserCase> {};

TEST_P(HomePageBrowser, StartsTheHtmlProgramWithTheAddress) {
    ASSERT_TRUE(InstallReporter(browserPath()));
    ASSERT_TRUE(AssociateHtml(Expand(GetParam().commandPattern, browserPath()).c_str()));
    StartedProcess starter;
    HWND icon = nullptr;
    ASSERT_NO_FATAL_FAILURE(VisitHomePage(starter, icon));

    std::vector<ReporterStart> starts = WaitForStarts(browserPath());
    ASSERT_EQ(starts.size(), 1u) << "the browser was not started";
    EXPECT_EQ(WithoutProgramQuotes(starts[0].commandLine), browserPath() + GetParam().arguments);
    EXPECT_EQ(starts[0].showCommand, kShowNormal);
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(job().TotalProcesses(), 2u) << "something besides the browser was started";
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr);
    EXPECT_TRUE(starter.Running());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HomePageBrowser,
    ::testing::Values(BrowserCase{"QuotedWithQuotedFile", "\"%p\" \"%1\"", " www.quellmar.example"},
                      BrowserCase{"QuotedWithAnOption", "\"%p\" -nohome", " -nohome www.quellmar.example"},
                      BrowserCase{"UnquotedWithFile", "%p %1", " www.quellmar.example"}),
    [](const ::testing::TestParamInfo<BrowserCase>& info) { return std::string(info.param.name); });

// Without a usable association the Explorer gets the address. A program
// is looked for first in the folder of the program that starts it, so a
// reporter named "explorer.exe" beside the starter takes the Explorer's
// place and writes down its command line.
struct NoBrowserCase {
    const char* name;
    bool typeWithoutCommand;  // false: ".html" has no file type at all
};

void PrintTo(const NoBrowserCase& c, std::ostream* os) { *os << c.name; }

class HomePageWithoutBrowser : public HomePage, public ::testing::WithParamInterface<NoBrowserCase> {
protected:
    void SetUp() override {
        HomePage::SetUp();
        if (HasFatalFailure()) return;
        if (GetParam().typeWithoutCommand) {
            ASSERT_TRUE(AssociateHtml(nullptr));
        } else {
            ASSERT_TRUE(RemoveHtmlAssociation());
        }
    }
};

TEST_P(HomePageWithoutBrowser, StartsTheExplorerWithTheAddress) {
    const std::string explorer = JoinPath(folder(), "explorer.exe");
    ASSERT_TRUE(InstallReporter(explorer));
    StartedProcess starter;
    HWND icon = nullptr;
    ASSERT_NO_FATAL_FAILURE(VisitHomePage(starter, icon));

    std::vector<ReporterStart> starts = WaitForStarts(explorer);
    ASSERT_EQ(starts.size(), 1u) << "the Explorer was not started";
    EXPECT_EQ(starts[0].commandLine, std::string("explorer.exe ") + kHost);
    EXPECT_EQ(starts[0].showCommand, kShowNormal);
    ASSERT_TRUE(starter.WaitUntilIdle());
    // The first attempt, a blank and the address, started nothing.
    EXPECT_EQ(job().TotalProcesses(), 2u);
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr);
}

// Neither can be started: "explorer.exe" beside the starter is no program.
TEST_P(HomePageWithoutBrowser, TellsTheAddressWhenTheExplorerCanNotBeStarted) {
    ASSERT_TRUE(WriteTextFile(JoinPath(folder(), "explorer.exe"), "not a program\r\n"));
    StartedProcess starter;
    HWND icon = nullptr;
    ASSERT_NO_FATAL_FAILURE(VisitHomePage(starter, icon));

    HWND box = WaitForMessageBox(starter);
    ASSERT_NE(box, nullptr) << "no message was shown";
    EXPECT_EQ(DialogMessage(box),
              std::string("Error starting Internet browser application, please go to ") + kHost + " manually !");
    EXPECT_EQ(DialogButtons(box), std::vector<std::string>{"OK"});
    ASSERT_TRUE(PressDialogButton(box, "OK"));
    ASSERT_TRUE(starter.WaitUntilIdle());
    EXPECT_EQ(FindDialog(kMessageBoxTitle, starter.pid()), nullptr) << "a second box followed";
    EXPECT_EQ(job().TotalProcesses(), 1u);
    EXPECT_TRUE(starter.Running());
}

INSTANTIATE_TEST_SUITE_P(Associations, HomePageWithoutBrowser,
                         ::testing::Values(NoBrowserCase{"NoHtmlType", false},
                                           NoBrowserCase{"TypeWithoutCommand", true}),
                         [](const ::testing::TestParamInfo<NoBrowserCase>& info) {
                             return std::string(info.param.name);
                         });

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The same without a stand-in: the system's own Explorer is started. Its
// command line is read from the running process.
TEST_F(HomePage, WithoutAnAssociationTheSystemExplorerGetsTheAddress) {
    ASSERT_TRUE(RemoveHtmlAssociation());
    StartedProcess starter;
    HWND icon = nullptr;
    ASSERT_NO_FATAL_FAILURE(VisitHomePage(starter, icon));

    std::string image;
    std::string commandLine;
    ASSERT_TRUE(WaitUntil([&] {
        for (DWORD pid : job().ProcessIds()) {
            if (pid == starter.pid()) continue;
            image = ProcessImagePath(pid);
            commandLine = ProcessCommandLine(pid);
            if (!image.empty() && !commandLine.empty()) return true;
        }
        return false;
    })) << "no other process could be seen (" << job().TotalProcesses() << " started)";
    std::string::size_type slash = image.find_last_of('\\');
    EXPECT_EQ(Lower(image.substr(slash == std::string::npos ? 0 : slash + 1)), "explorer.exe") << image;
    EXPECT_EQ(commandLine, std::string("explorer.exe ") + kHost);
    EXPECT_EQ(job().TotalProcesses(), 2u);
}

}  // namespace
}  // namespace e2e
