// The tray icon's notifications and the popup menu they open.
#include "StarterFixture.h"

#include "registry/Rmod.h"

namespace {

constexpr const char* kCompanionKey = "Software\\Quellmar\\KZHalvane\\";

void SetCompanion(int slot, const std::string& kind, const std::string& path) {
    const std::string n = std::to_string(slot);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kCompanionKey, "file type" + n, kind, REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kCompanionKey, "application name" + n, path, REG_SZ);
}

const sim::PopupMenuShown& LastMenu() { return sim::PopupMenus().back(); }

// The top-level entry at a position of the menu shown last.
const sim::MenuItemSnapshot& Item(int position) { return LastMenu().items.at(static_cast<std::size_t>(position)); }

bool Grayed(const sim::MenuItemSnapshot& item) { return (item.flags & MF_GRAYED) != 0; }

}  // namespace

TEST_F(StarterTest, OnlyAButtonReleaseOverTheIconOpensTheMenu) {
    ASSERT_TRUE(Load());
    for (UINT ignored : {0x200u, 0x201u, 0x204u, 0x203u, 0x206u, 0x207u, 0x208u})  // move, presses, double clicks, middle button
        ASSERT_TRUE(ClickIcon(ignored));
    EXPECT_TRUE(sim::PopupMenus().empty());

    sim::SetCursorPos(1200, 1000);
    ASSERT_TRUE(ClickIcon(WM_LBUTTONUP));
    ASSERT_TRUE(ClickIcon(WM_RBUTTONUP));
    ASSERT_EQ(sim::PopupMenus().size(), 2u);
    const sim::PopupMenuShown& shown = sim::PopupMenus()[0];
    EXPECT_EQ(shown.x, 1200);
    EXPECT_EQ(shown.y, 1000);
    EXPECT_EQ(shown.owner, form->Menu().hwnd());
    EXPECT_TRUE(shown.ownerWasForeground);
    EXPECT_EQ(shown.flags, static_cast<UINT>(TPM_RIGHTBUTTON));
}

TEST_F(StarterTest, TheMainFormIsHiddenAndDisabledAgainWhenTheMenuCloses) {
    ASSERT_TRUE(Load());
    bool visibleWhileOpen = false;
    sim::WindowState whileOpen;
    sim::SetPopupMenuHook([&](const sim::PopupMenuShown&) {
        visibleWhileOpen = sim::ReadWindow(form->hwnd(), whileOpen) && whileOpen.visible;
    });
    ASSERT_TRUE(ClickIcon());
    EXPECT_TRUE(visibleWhileOpen);
    EXPECT_TRUE(whileOpen.enabled);
    EXPECT_EQ(whileOpen.rect.right - whileOpen.rect.left, 0);
    EXPECT_EQ(whileOpen.rect.bottom - whileOpen.rect.top, 0);
    EXPECT_NE(whileOpen.exStyle & WS_EX_TOOLWINDOW, 0u);  // no taskbar button

    sim::WindowState after;
    ASSERT_TRUE(sim::ReadWindow(form->hwnd(), after));
    EXPECT_FALSE(after.visible);
    EXPECT_FALSE(after.enabled);
}

TEST_F(StarterTest, TheMenuHasItsLayoutWithOnlyExtendedHelpAmongTheSpecialModes) {
    ASSERT_TRUE(Load());
    ASSERT_TRUE(ClickIcon());
    const auto& items = LastMenu().items;
    ASSERT_EQ(items.size(), 11u);
    const char* texts[] = {"Launch Quellmar (Normal Mode)", "", "Launch Quellmar (Special Modes)...",
                           "Launch Halvane Application...", "", "Visit &Homepage", "", "&Auto Start Quellmar", "",
                           "&Close Starter", "&Remove Starter"};
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].text, texts[i]) << i;
    for (int separator : {1, 4, 6, 8}) EXPECT_NE(Item(separator).flags & MF_SEPARATOR, 0u);

    ASSERT_EQ(Item(2).items.size(), 1u);
    EXPECT_EQ(Item(2).items[0].text, "Extended Help");
    EXPECT_FALSE(Grayed(Item(2).items[0]));
    // The hidden entries keep their state all the same.
    EXPECT_TRUE(form->Menu().Entry(2, 1).Enabled);
    EXPECT_FALSE(form->Menu().Entry(2, 1).Visible);

    ASSERT_EQ(Item(3).items.size(), 5u);
    for (const auto& companion : Item(3).items) {
        EXPECT_EQ(companion.text, "[not defined]");
        EXPECT_TRUE(Grayed(companion));
    }
    EXPECT_EQ(Item(7).flags & MF_CHECKED, 0u);
}

TEST_F(StarterTest, TheFirstEntryAndTheSpecialModesFollowQuellmarsState) {
    ASSERT_TRUE(Load());
    sim::TopLevelWindowOptions minimised;
    minimised.showCommand = SW_MINIMIZE;
    HWND window = sim::CreateTopLevelWindow("FastSort - Quellmar", minimised);
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(0).text, "Restore Quellmar (Minimized)");
    EXPECT_TRUE(Grayed(Item(2).items[0]));
    EXPECT_FALSE(form->Menu().Entry(2, 1).Enabled);
    EXPECT_FALSE(form->Menu().Entry(2, 2).Enabled);

    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(0).text, "Close Quellmar (Running)");
    EXPECT_TRUE(Grayed(Item(2).items[0]));

    SendMessageA(window, WM_CLOSE, 0, 0);  // another program's window: asked to close
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(0).text, "Launch Quellmar (Normal Mode)");
    EXPECT_FALSE(Grayed(Item(2).items[0]));
    EXPECT_TRUE(form->Menu().Entry(2, 2).Enabled);
}

TEST_F(StarterTest, TheAutoStartEntryIsCheckedExactlyWhenTheSettingIsOn) {
    ASSERT_TRUE(Load());
    form->AutoStartTarget = True;
    ASSERT_TRUE(ClickIcon());
    EXPECT_NE(Item(7).flags & MF_CHECKED, 0u);
    form->AutoStartTarget = False;
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(7).flags & MF_CHECKED, 0u);
}

TEST_F(StarterTest, CompanionCaptionsComeFromTheListReadAtEveryOpening) {
    ASSERT_TRUE(Load());
    const std::string sixty(60, 'x');
    SetCompanion(1, "1", "E:\\Tools\\My Player.exe");
    SetCompanion(2, "1", "player.exe");
    SetCompanion(3, "1", "E:\\Apps.old\\player");
    SetCompanion(4, "1", "E:\\" + sixty + ".exe");
    SetCompanion(5, "2", "E:\\Music\\");
    ASSERT_TRUE(ClickIcon());
    const auto& companions = Item(3).items;
    ASSERT_EQ(companions.size(), 5u);
    EXPECT_EQ(companions[0].text, "My Player");
    EXPECT_FALSE(Grayed(companions[0]));
    EXPECT_EQ(companions[1].text, "[not defined]");
    EXPECT_TRUE(Grayed(companions[1]));
    EXPECT_EQ(companions[2].text, "Apps");
    EXPECT_EQ(companions[3].text, "..." + sixty.substr(13));
    EXPECT_EQ(companions[3].text.size(), 50u);
    EXPECT_EQ(companions[4].text, "Music");

    // Folders: a drive root keeps its whole path; without the closing
    // backslash the last character is lost; an empty path is not defined.
    SetCompanion(1, "2", "D:\\");
    SetCompanion(2, "2", "E:\\Music");
    SetCompanion(3, "2", "");
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(3).items[0].text, "D:\\");
    EXPECT_EQ(Item(3).items[1].text, "Musi");
    EXPECT_EQ(Item(3).items[2].text, "[not defined]");
    EXPECT_TRUE(Grayed(Item(3).items[2]));
}

TEST_F(StarterTest, ASlotOfAnUnknownKindKeepsItsEarlierCaption) {
    ASSERT_TRUE(Load());
    SetCompanion(1, "3", "E:\\Tools\\tool.exe");
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(3).items[0].text, "[not defined]");
    EXPECT_TRUE(Grayed(Item(3).items[0]));
    // Now the caption "[not defined]" is no longer empty: enabled.
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(Item(3).items[0].text, "[not defined]");
    EXPECT_FALSE(Grayed(Item(3).items[0]));
}

TEST_F(StarterTest, PrepareMenuWithAnUnknownIndexChangesNothing) {
    ASSERT_TRUE(Load());
    form->PrepareMenu(1);
    const std::string caption = form->Menu().Entry(1, 1).Caption;
    sim::CreateTopLevelWindow("Quellmar");
    form->PrepareMenu(0);
    form->PrepareMenu(4);
    EXPECT_EQ(form->Menu().Entry(1, 1).Caption, caption);
    EXPECT_TRUE(form->Menu().Entry(2, 3).Enabled);
}

TEST_F(StarterTest, OpeningTheMenuManyTimesLeavesNoMenuOrHandleBehind) {
    ASSERT_TRUE(Load());
    ASSERT_TRUE(ClickIcon());
    const std::size_t menus = sim::MenuCount();
    const std::size_t windows = sim::WindowCount();
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(ClickIcon(i % 2 ? WM_LBUTTONUP : WM_RBUTTONUP));
    EXPECT_EQ(sim::MenuCount(), menus);
    EXPECT_EQ(sim::WindowCount(), windows);
    EXPECT_EQ(sim::OpenKeyCount(), 0u);
    EXPECT_EQ(sim::PendingMessageCount(), 0u);
}
