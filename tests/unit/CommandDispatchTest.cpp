// Every menu command, chosen through the tray icon's menu.
#include "StarterFixture.h"

#include "registry/Rmod.h"

namespace {

constexpr const char* kAutoStartKey = "Software\\Quellmar\\Starter\\StartUp\\";

std::string AutoStartValue() {
    return Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, kAutoStartKey, "auto start target program");
}

bool RunValueExists(const char* key) {
    Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, key, "Quellmar Starter");
    return !Rmod::RegistryQueryFailed;
}

}  // namespace

TEST_F(StarterTest, TheFirstEntryLaunchesRestoresOrClosesQuellmar) {
    InstallQuellmar();
    ASSERT_TRUE(Load());
    ASSERT_TRUE(Choose(1, 1));
    ASSERT_EQ(sim::Processes().size(), 1u);
    HWND quellmar = FindWindowA(nullptr, "Quellmar");
    ASSERT_NE(quellmar, nullptr);

    ShowWindow(quellmar, SW_MINIMIZE);
    ASSERT_TRUE(Choose(1, 1));
    EXPECT_EQ(sim::PopupMenus().back().items[0].text, "Restore Quellmar (Minimized)");
    EXPECT_FALSE(IsIconic(quellmar));
    EXPECT_EQ(sim::Processes().size(), 1u);

    ASSERT_TRUE(Choose(1, 1));
    EXPECT_EQ(sim::PopupMenus().back().items[0].text, "Close Quellmar (Running)");
    EXPECT_FALSE(IsWindow(quellmar));
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(StarterTest, TheFirstEntryActsOnItsCaptionKeyOnly) {
    InstallQuellmar();
    ASSERT_TRUE(Load());
    form->PrepareMenu(1);
    // The caption as defined: its key is "&la", which is no command.
    form->Menu().SetCaption(1, 1, "&Launch Quellmar (Normal Mode)");
    form->ProgramReceivePopUpMenu_Click(1, 1);
    form->Menu().SetCaption(1, 1, "Restart");
    form->ProgramReceivePopUpMenu_Click(1, 1);
    EXPECT_TRUE(sim::Processes().empty());
    // "Launch" stands even when Quellmar started meanwhile: it starts again.
    sim::CreateTopLevelWindow("Quellmar");
    form->Menu().SetCaption(1, 1, "LAUNCH");
    form->ProgramReceivePopUpMenu_Click(1, 1);
    EXPECT_EQ(sim::Processes().size(), 1u);
    // "Close" when Quellmar has gone meanwhile does nothing.
    SendMessageA(FindWindowA(nullptr, "Quellmar"), WM_CLOSE, 0, 0);  // another program's window: asked to close
    SendMessageA(FindWindowA(nullptr, "Quellmar"), WM_CLOSE, 0, 0);  // another program's window: asked to close
    form->Menu().SetCaption(1, 1, "Close Quellmar (Running)");
    form->ProgramReceivePopUpMenu_Click(1, 1);
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(StarterTest, ExtendedHelpStartsQuellmarWithItsSwitch) {
    InstallQuellmar();
    ASSERT_TRUE(Load());
    ASSERT_TRUE(Choose(2, 3));
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, std::string("\"") + kTargetPath + "\" /ExtendedHelp");
    EXPECT_EQ(sim::Processes()[0].showCommand, SW_SHOWNORMAL);
    EXPECT_NE(FindWindowA(nullptr, "Quellmar (extended help mode)"), nullptr);
    // The hidden entries keep their commands.
    SendMessageA(FindWindowA(nullptr, "Quellmar (extended help mode)"), WM_CLOSE, 0, 0);  // another program's window: asked to close
    form->ProgramReceivePopUpMenu_Click(2, 1);
    form->ProgramReceivePopUpMenu_Click(2, 2);
    ASSERT_EQ(sim::Processes().size(), 3u);
    EXPECT_EQ(sim::Processes()[1].commandLine, std::string("\"") + kTargetPath + "\" /FastRead");
    EXPECT_EQ(sim::Processes()[2].commandLine, std::string("\"") + kTargetPath + "\" /FastSort");
}

TEST_F(StarterTest, ASpecialModeWithQuellmarMissingSaysWhereItShouldBe) {
    ASSERT_TRUE(Load());
    ASSERT_TRUE(Choose(2, 3));
    EXPECT_TRUE(sim::Processes().empty());
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text,
              "Quellmar was not found in current directory, please move this program to the right location !");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 48u);
}

TEST_F(StarterTest, UnknownCommandsDoNothing) {
    InstallQuellmar();
    ASSERT_TRUE(Load());
    for (int sub : {0, 2, 3, 4, 5, 7, 9, 12}) form->ProgramReceivePopUpMenu_Click(1, static_cast<std::int16_t>(sub));
    form->ProgramReceivePopUpMenu_Click(2, 4);
    form->ProgramReceivePopUpMenu_Click(2, 0);
    form->ProgramReceivePopUpMenu_Click(4, 1);
    form->ProgramReceivePopUpMenu_Click(0, 1);
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_EQ(sim::TrayIcons().size(), 1u);
}

TEST_F(StarterTest, SwitchingAutoStartOnAsksFirstAndStoresTheAnswer) {
    ASSERT_TRUE(Load());
    sim::AnswerMessageBoxes({IDNO});
    ASSERT_TRUE(Choose(1, 8));
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text,
              "Quellmar will now be automatically started at Windows start up so that you can use it to quickly "
              "play mp3 files and start any of the Halvane applications or to create your own skin. Do you agree ?");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 36u);
    EXPECT_EQ(form->AutoStartTarget, False);
    AutoStartValue();
    EXPECT_TRUE(Rmod::RegistryQueryFailed) << "nothing is written on No";

    sim::AnswerMessageBoxes({IDYES});
    ASSERT_TRUE(Choose(1, 8));
    EXPECT_EQ(form->AutoStartTarget, True);
    EXPECT_EQ(AutoStartValue(), "True");
    ASSERT_TRUE(ClickIcon());
    EXPECT_NE(sim::PopupMenus().back().items[7].flags & MF_CHECKED, 0u);
}

TEST_F(StarterTest, SwitchingAutoStartOffAsksNothing) {
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kAutoStartKey, "auto start target program", "True", REG_SZ);
    InstallQuellmar();
    ASSERT_TRUE(Load());
    ASSERT_EQ(form->AutoStartTarget, True);
    ASSERT_TRUE(Choose(1, 8));
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_EQ(form->AutoStartTarget, False);
    EXPECT_EQ(AutoStartValue(), "False");
}

TEST_F(StarterTest, RemovalDeclinedSaysGoodBoyAndKeepsEverything) {
    ASSERT_TRUE(Load());
    sim::AnswerMessageBoxes({IDNO});
    ASSERT_TRUE(Choose(1, 11));
    ASSERT_EQ(sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(sim::MessageBoxes()[0].text,
              "Quellmar Starter needs hardly memory and allows you to quickly start Quellmar, the great tool to "
              "clean up your mp3 collection. Do you really want to remove Quellmar Starter ?");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 36u);
    EXPECT_EQ(sim::MessageBoxes()[1].text, "Good boy.");
    EXPECT_EQ(sim::MessageBoxes()[1].style, 64u);
    EXPECT_TRUE(RunValueExists(kRunKey));
    EXPECT_EQ(sim::TrayIcons().size(), 1u);
}

TEST_F(StarterTest, RemovalAgreedDeletesTheFirstRunEntryOnlyAndEnds) {
    ASSERT_TRUE(Load());
    bool runValueWhileNoticeOpen = false;
    sim::SetMessageBoxHook([&](const sim::MessageBoxCall& box) {
        if (box.style == 64u) runValueWhileNoticeOpen = RunValueExists(kRunKey);
    });
    sim::AnswerMessageBoxes({IDYES, IDOK});
    EXPECT_FALSE(Choose(1, 11));
    ASSERT_EQ(sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(sim::MessageBoxes()[1].text, "To reinstall Quellmar Starter just start it once again manually.");
    EXPECT_EQ(sim::MessageBoxes()[1].style, 64u);
    EXPECT_TRUE(runValueWhileNoticeOpen) << "the notice comes before the deletion";
    EXPECT_FALSE(RunValueExists(kRunKey));
    EXPECT_TRUE(RunValueExists(kRunKeyNT));
    EXPECT_TRUE(sim::TrayIcons().empty());
}

TEST_F(StarterTest, ACompanionEntryAndTheHomePageStartTheirPrograms) {
    ASSERT_TRUE(Load());
    sim::AddProgram("E:\\Tools\\tool.exe");
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\KZHalvane\\", "file type2", "1", REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\KZHalvane\\", "application name2",
                           "E:\\Tools\\tool.exe", REG_SZ);
    ASSERT_TRUE(Choose(3, 2));
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, "E:\\Tools\\tool.exe");
    EXPECT_EQ(sim::CurrentDirectory(), "C:\\Program Files\\Quellmar");

    ASSERT_TRUE(Choose(1, 6));
    ASSERT_EQ(sim::Processes().size(), 2u);
    EXPECT_NE(sim::Processes()[1].commandLine.find("www.quellmar.example"), std::string::npos);
}

TEST_F(StarterTest, AnAutoStartSettingThatCannotBeStoredIsNotShownAsStored) {
    ASSERT_TRUE(Load());
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    sim::AnswerMessageBoxes({IDYES});
    ASSERT_TRUE(Choose(1, 8));
    EXPECT_EQ(form->AutoStartTarget, False);
    ASSERT_EQ(sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(sim::MessageBoxes()[1].text,
              "The auto start setting could not be saved, please ask your administrator for the right to change it !");
    EXPECT_EQ(sim::MessageBoxes()[1].style, 48u);
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(sim::PopupMenus().back().items[7].flags & MF_CHECKED, 0u);

    // Switching off under the same rights keeps it on, and says so.
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, true);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kAutoStartKey, "auto start target program", "True", REG_SZ);
    form->AutoStartTarget = True;
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    ASSERT_TRUE(Choose(1, 8));
    EXPECT_EQ(form->AutoStartTarget, True);
    EXPECT_EQ(sim::MessageBoxes().size(), 3u);
}
