// The home page visit: the ".html" browser, then the Explorer, then a
// message.
#include "integration/HomePage.h"

#include "RegistryProbe.h"
#include "platform/sim/SimDesktop.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class HomePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::SetWindowsDirectory("C:\\windows");
    }

    static void AssociateHtml(const std::string& command) {
        probe::WriteText(HKEY_CLASSES_ROOT, ".html", "", "htmlfile");
        probe::WriteText(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", "", command);
    }

    static std::string Host() { return HomePageHost; }
};

}  // namespace

TEST_F(HomePageTest, StartsTheHtmlBrowserWithTheHost) {
    sim::AddProgram("C:\\Browser\\browser.exe");
    AssociateHtml("\"C:\\Browser\\browser.exe\" \"%1\"");
    VisitHomePage();

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "C:\\Browser\\browser.exe " + Host());
    EXPECT_EQ(sim::Processes()[0].showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(HomePageTest, ABrowserPathWithBlanksIsQuoted) {
    sim::AddProgram("C:\\Program Files\\Browser\\browser.exe");
    sim::AddProgram("C:\\Program.exe");  // what the unquoted line would start
    AssociateHtml("\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"");
    VisitHomePage();

    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "\"C:\\Program Files\\Browser\\browser.exe\" " + Host());
    EXPECT_EQ(sim::Processes()[0].program, "C:\\Program Files\\Browser\\browser.exe");
}

TEST_F(HomePageTest, ArgumentsOfTheAssociationStayBeforeTheHost) {
    sim::AddProgram("C:\\Browser\\browser.exe");
    AssociateHtml("\"C:\\Browser\\browser.exe\" -nohome");
    VisitHomePage();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "C:\\Browser\\browser.exe -nohome " + Host());
}

TEST_F(HomePageTest, WithoutAnAssociationTheExplorerOpensTheHost) {
    VisitHomePage();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe " + Host());
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(HomePageTest, AnAssociationWithoutOpenCommandFallsBackToTheExplorer) {
    probe::WriteText(HKEY_CLASSES_ROOT, ".html", "", "htmlfile");
    VisitHomePage();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe " + Host());
}

TEST_F(HomePageTest, AMissingBrowserFallsBackToTheExplorer) {
    AssociateHtml("C:\\gone\\browser.exe %1");
    VisitHomePage();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "explorer.exe " + Host());
}

TEST_F(HomePageTest, WhenNothingStartsOneMessageNamesTheHost) {
    ASSERT_TRUE(sim::RemoveFile("C:\\windows\\explorer.exe"));
    AssociateHtml("C:\\gone\\browser.exe %1");
    VisitHomePage();

    EXPECT_TRUE(sim::Processes().empty());
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text,
              "Error starting Internet browser application, please go to " + Host() + " manually !");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 48u);
    EXPECT_EQ(sim::MessageBoxes()[0].caption, "Quellmar Starter");
}

TEST_F(HomePageTest, TheCurrentDirectoryIsLeftAlone) {
    sim::AddFolder("C:\\Data");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\Data"));
    sim::AddProgram("C:\\Browser\\browser.exe");
    AssociateHtml("C:\\Browser\\browser.exe %1");
    VisitHomePage();
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].currentDirectory, "C:\\Data");
    EXPECT_EQ(sim::CurrentDirectory(), "C:\\Data");
}
