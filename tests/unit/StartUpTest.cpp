// Start-up and shutdown of the starter on the simulated desktop.
#include "StarterFixture.h"

#include "core/InstanceName.h"
#include "core/OwnPath.h"
#include "core/TargetApp.h"
#include "platform/AppRuntime.h"
#include "registry/Rmod.h"

#include <cstring>

namespace {

std::string RunValue(const char* key) {
    return Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, key, "Quellmar Starter");
}

bool RunValueExists(const char* key) {
    Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, key, "Quellmar Starter");
    return !Rmod::RegistryQueryFailed;
}

void SetAutoStartValue(const std::string& text) {
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Quellmar\\Starter\\StartUp\\", "auto start target program",
                           text, REG_SZ);
}

}  // namespace

TEST_F(StarterTest, StartUpShowsTheIconWritesBothRunEntriesAndHidesTheForm) {
    ASSERT_TRUE(Load());

    const auto icons = sim::TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].hwnd, form->hwnd());
    EXPECT_EQ(icons[0].uID, 1u);
    EXPECT_EQ(icons[0].tip, "Quellmar Starter");
    EXPECT_EQ(icons[0].callbackMessage, RegisterWindowMessageA("KZSystray"));
    EXPECT_NE(icons[0].icon, nullptr);

    const std::string quoted = "\"C:\\Program Files\\Quellmar\\QuellmarStarter.exe\"";
    EXPECT_EQ(RunValue(kRunKey), quoted);
    EXPECT_EQ(RunValue(kRunKeyNT), quoted);

    sim::WindowState state;
    ASSERT_TRUE(sim::ReadWindow(form->hwnd(), state));
    EXPECT_EQ(state.caption, "Quellmar Starter v1.0");
    EXPECT_FALSE(state.visible);
    EXPECT_FALSE(state.enabled);
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_EQ(form->AutoStartTarget, False);
}

TEST_F(StarterTest, TrayRecordsCarryTheToolTipFieldAsTextZeroAndBlanks) {
    ASSERT_TRUE(Load());
    ASSERT_THROW(form->Form_Unload(0), sim::ProcessExited);

    const auto& calls = sim::TrayCalls();
    ASSERT_EQ(calls.size(), 2u);
    const NOTIFYICONDATAA& added = calls[0].data;
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(added.uFlags, 7u);
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(std::memcmp(added.szTip, "Quellmar Starter\0", 17), 0);
    for (int i = 17; i < 64; ++i) EXPECT_EQ(added.szTip[i], ' ') << "byte " << i;

    const NOTIFYICONDATAA& removed = calls[1].data;
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(removed.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(removed.uCallbackMessage, 0u);
    EXPECT_EQ(removed.uFlags, 7u);
    EXPECT_EQ(removed.szTip[0], '\0');
    for (int i = 1; i < 64; ++i) EXPECT_EQ(removed.szTip[i], ' ') << "byte " << i;
}

TEST_F(StarterTest, OwnPathIsRebuiltFromTheProgramFolderAndName) {
    EXPECT_EQ(OwnFullPath("D:\\", "QuellmarStarter"), "D:\\QuellmarStarter.exe");
    EXPECT_EQ(OwnFullPath("C:\\Tools", "Starter"), "C:\\Tools\\Starter.exe");
    // The name is taken without its extension, so ".EXE" comes back lower case.
    sim::SetModulePath("C:\\Tools\\STARTER.EXE");
    EXPECT_EQ(OwnFullPath(platform::AppPath(), platform::AppExeName()), "C:\\Tools\\STARTER.exe");
    // A name that still ends in ".exe" gets no second one.
    EXPECT_EQ(OwnFullPath("C:\\Tools", "odd.EXE"), "C:\\Tools\\odd.EXE");
}

TEST_F(StarterTest, StartedFromADriveRootItRegistersAndLooksForQuellmarThere) {
    sim::SetModulePath("D:\\QuellmarStarter.exe");
    ASSERT_TRUE(Load());
    EXPECT_EQ(RunValue(kRunKey), "\"D:\\QuellmarStarter.exe\"");
    EXPECT_EQ(GetTargetPath(), "D:\\Quellmar.exe");
}

TEST_F(StarterTest, EveryStartOverwritesRunEntriesOfAnEarlierLocation) {
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, "Quellmar Starter", "\"C:\\Old\\QuellmarStarter.exe\"", REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, kRunKeyNT, "Quellmar Starter", "\"C:\\Old\\QuellmarStarter.exe\"", REG_SZ);
    sim::SetModulePath("E:\\New Place\\QuellmarStarter.exe");
    ASSERT_TRUE(Load());
    EXPECT_EQ(RunValue(kRunKey), "\"E:\\New Place\\QuellmarStarter.exe\"");
    EXPECT_EQ(RunValue(kRunKeyNT), "\"E:\\New Place\\QuellmarStarter.exe\"");
}

TEST_F(StarterTest, ASecondInstanceEndsSilentlyWithoutTouchingAnything) {
    sim::HoldNamedMutex(InstanceName(platform::AppFullPath()));
    EXPECT_FALSE(Load());
    EXPECT_TRUE(sim::TrayIcons().empty());
    EXPECT_TRUE(sim::TrayCalls().empty());
    EXPECT_FALSE(RunValueExists(kRunKey));
    EXPECT_FALSE(RunValueExists(kRunKeyNT));
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(StarterTest, TheInstanceClaimIsPerProgramFile) {
    sim::SetModulePath("C:\\Elsewhere\\QuellmarStarter.exe");
    const std::string elsewhere = InstanceName(platform::AppFullPath());
    sim::SetModulePath("C:\\Program Files\\Quellmar\\QuellmarStarter.exe");
    EXPECT_NE(InstanceName(platform::AppFullPath()), elsewhere);
    sim::HoldNamedMutex(elsewhere);
    EXPECT_TRUE(Load());
}

TEST_F(StarterTest, WithoutATrayIconStartUpEndsSilentlyAndWritesNothing) {
    sim::SetTaskbarPresent(false);
    sim::SetIdleHook([&] { PostMessageA(form->hwnd(), WM_TIMER, 1, 0); });  // no taskbar in time
    SetAutoStartValue("True");
    InstallQuellmar();
    EXPECT_FALSE(Load());
    EXPECT_FALSE(RunValueExists(kRunKey));
    EXPECT_FALSE(RunValueExists(kRunKeyNT));
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_TRUE(sim::Processes().empty());
    EXPECT_EQ(SubClass_EntryCount(), 0u);
}

TEST_F(StarterTest, AReadOnlyMachineKeyStillGivesAWorkingIconAndMenu) {
    sim::SetRegistryWritable(HKEY_LOCAL_MACHINE, false);
    ASSERT_TRUE(Load());
    EXPECT_FALSE(RunValueExists(kRunKey));
    ASSERT_EQ(sim::TrayIcons().size(), 1u);
    ASSERT_TRUE(ClickIcon(WM_LBUTTONUP));
    EXPECT_EQ(sim::PopupMenus().size(), 1u);
    EXPECT_EQ(sim::OpenKeyCount(), 0u);
}

TEST_F(StarterTest, AutoStartValueTrueLaunchesQuellmarAtStartUp) {
    InstallQuellmar();
    SetAutoStartValue("tRUE");
    ASSERT_TRUE(Load());
    EXPECT_EQ(form->AutoStartTarget, True);
    ASSERT_EQ(sim::Processes().size(), 1u);
    EXPECT_EQ(sim::Processes()[0].commandLine, std::string("\"") + kTargetPath + "\"");
    EXPECT_EQ(sim::Processes()[0].showCommand, SW_SHOWNORMAL);
}

TEST_F(StarterTest, AnyOtherAutoStartValueLaunchesNothing) {
    InstallQuellmar();
    for (const char* text : {"1", " True", "yes", ""}) {
        SetAutoStartValue(text);
        ASSERT_TRUE(Load()) << text;
        EXPECT_EQ(form->AutoStartTarget, False) << text;
        UnSubClassAll();
        form.reset();
        sim::ClearTrayCalls();
    }
    EXPECT_TRUE(sim::Processes().empty());
}

TEST_F(StarterTest, AutoStartWithQuellmarMissingWarnsAtStartUp) {
    SetAutoStartValue("True");
    ASSERT_TRUE(Load());
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_EQ(sim::MessageBoxes()[0].text, "Quellmar was not found in current directory  !");
    EXPECT_EQ(sim::MessageBoxes()[0].caption, "Quellmar Starter");
    EXPECT_EQ(sim::MessageBoxes()[0].style, 48u);
    EXPECT_EQ(sim::TrayIcons().size(), 1u);
}

TEST_F(StarterTest, CloseStarterRemovesTheIconRestoresTheWindowAndEnds) {
    ASSERT_TRUE(Load());
    const LONG_PTR ownProcedure = GetWindowLongPtrA(form->hwnd(), GWLP_USERDATA);
    ASSERT_NE(ownProcedure, 0);
    EXPECT_FALSE(Choose(1, 10));
    EXPECT_TRUE(sim::TrayIcons().empty());
    EXPECT_EQ(GetWindowLongPtrA(form->hwnd(), GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindowLongPtrA(form->hwnd(), GWLP_WNDPROC), ownProcedure);
    EXPECT_EQ(SubClass_EntryCount(), 0u);
}

TEST_F(StarterTest, AClosedMainWindowShutsTheStarterDownLikeCloseStarter) {
    ASSERT_TRUE(Load());
    EXPECT_THROW(SendMessageA(form->hwnd(), WM_CLOSE, 0, 0), sim::ProcessExited);
    EXPECT_TRUE(sim::TrayIcons().empty());
    EXPECT_EQ(SubClass_EntryCount(), 0u);
}

TEST_F(StarterTest, AStarterLaunchedBeforeTheTaskbarWaitsForItAndStays) {
    sim::SetTaskbarPresent(false);
    int idle = 0;
    sim::SetIdleHook([&] {
        ++idle;
        sim::SetTaskbarPresent(true);
        SendMessageA(form->hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    });
    ASSERT_TRUE(Load());
    EXPECT_EQ(idle, 1);
    ASSERT_EQ(sim::TrayIcons().size(), 1u);
    EXPECT_EQ(RunValue(kRunKey), "\"C:\\Program Files\\Quellmar\\QuellmarStarter.exe\"");
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(sim::PopupMenus().size(), 1u);
}

TEST_F(StarterTest, ATaskbarThatNeverComesEndsStartUpSilently) {
    sim::SetTaskbarPresent(false);
    sim::SetIdleHook([&] { PostMessageA(form->hwnd(), WM_TIMER, 1, 0); });  // the wait's time is up
    EXPECT_FALSE(Load());
    EXPECT_TRUE(sim::TrayIcons().empty());
    EXPECT_FALSE(RunValueExists(kRunKey));
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(StarterTest, TheIconComesBackWhenTheTaskbarIsRecreated) {
    ASSERT_TRUE(Load());
    sim::SetTaskbarPresent(false);  // the shell ends: its icons go
    sim::SetTaskbarPresent(true);
    ASSERT_TRUE(sim::TrayIcons().empty());
    SendMessageA(form->hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(sim::TrayIcons().size(), 1u);
    EXPECT_EQ(sim::TrayIcons()[0].tip, "Quellmar Starter");
    EXPECT_EQ(SubClass_EntryCount(), 1u);
    ASSERT_TRUE(ClickIcon());
    EXPECT_EQ(sim::PopupMenus().size(), 1u);
}
