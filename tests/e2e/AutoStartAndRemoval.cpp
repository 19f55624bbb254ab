// The roads by which the starter ends, auto-start and removal: "Close
// Starter" and a close request from outside end the starter, which starts
// again; auto-start is switched on only after Yes (chosen twice, both
// questions answered Yes, it stays on) and stored as "True", switched off
// without a question; a setting that can't be stored is reported; removal
// asks, and on Yes deletes the first Run entry only (in both registry views)
// and ends the starter, which starts again, or, when the entry can't be
// deleted, says so and stays.
#include "Driver.h"

#include <sddl.h>

#include <functional>

const Box kNotSaved{
    kTitle, "The auto start setting could not be saved, please ask your administrator for the right to change it !", 48};
const Box kRemove{kTitle, "Quellmar Starter needs hardly memory and allows you to quickly start Quellmar, the great tool "
                  "to clean up your mp3 collection. Do you really want to remove Quellmar Starter ?", 36};
const Box kGoodBoy{kTitle, "Good boy.", 64};
const Box kReinstall{kTitle, "To reinstall Quellmar Starter just start it once again manually.", 64};
const Box kNotRemoved{kTitle, "Quellmar Starter could not be removed from the Windows start up, please ask your "
                              "administrator for the right to change it !", 48};
constexpr size_t kAutoStart = Line(M1AutoStart);

// Gives a key of the 32-bit view the access list sddl; true when done.
bool Access(const char* path, const char* sddl) {
    platform::unique_hkey key;
    PSECURITY_DESCRIPTOR list = nullptr;
    const bool done = ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &list, nullptr) &&
        !RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, WRITE_DAC | KEY_WOW64_32KEY, key.put()) &&
        !RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, list);
    LocalFree(list);
    return done;
}

TEST_F(Journey, AutoStartAndRemoval) {
    ASSERT_TRUE(Start());
    // Each road by which the starter ends besides removal, "Close Starter" and a close request to its main
    // window from another program: the process goes, holding nothing, and a new start runs and shows its
    // icon. (Wine takes a tray icon away with its window: that it went proves nothing.)
    const std::function<bool()> endings[] = {
        [&] { return Choose("C"); },
        [&] { return PostMessageA(FindWindowA(nullptr, "Quellmar Starter v1.0"), WM_CLOSE, 0, 0) != FALSE; }};
    for (const auto& end : endings) {
        EXPECT_TRUE(end());
        ASSERT_TRUE(Ended());
        ASSERT_TRUE(Start());
    }

    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Answer(kAsk, IDNO));
    // The menu form, told to close, stays: the commands chosen later still arrive.
    SendMessageA(FindWindowA("QuellmarStarterMenuForm", nullptr), WM_CLOSE, 0, 0);
    // A menu opens only once the command before it is done.
    EXPECT_TRUE(Choose("A", kAutoStart, "&Auto Start Quellmar"));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue), kNone);
    // Chosen again while its question is open (the tray still answers): Yes in the newer box, on top and
    // running inside the first, then Yes in the first, leaves it on.
    const HWND first = Wait([&] { return Find("#32770", kTitle, starter_.get().dwProcessId); });
    EXPECT_TRUE(Choose("A"));
    ASSERT_TRUE(Wait([&] { return Find("#32770", kTitle, starter_.get().dwProcessId) != first; }));
    EXPECT_TRUE(Answer(kAsk, IDYES));
    EXPECT_TRUE(Answer(kAsk, IDYES));
    EXPECT_TRUE(Choose("!", kAutoStart, "&Auto Start Quellmar [x]"));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue), "True");

    // Off: no question, and the key holds "False".
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Wait([&] { return Reg(HKEY_LOCAL_MACHINE, kAutoStartKey, kAutoStartValue) == "False"; }));
    // Under a volatile parent the setting's key can't be made: the user is told.
    platform::unique_hkey product, made;
    ASSERT_FALSE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quellmar", 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, product.put(), nullptr));
    RegDeleteTreeA(product.get(), "Starter");
    ASSERT_FALSE(RegCreateKeyExA(product.get(), "Starter", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, made.put(), nullptr));
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Answer(kAsk, IDYES));
    EXPECT_TRUE(Answer(kNotSaved, IDOK));

    // Removal: No changes nothing; Yes deletes the first Run value and ends.
    EXPECT_TRUE(Choose("R", kAutoStart, "&Auto Start Quellmar"));
    EXPECT_TRUE(Answer(kRemove, IDNO));
    EXPECT_TRUE(Answer(kGoodBoy, IDOK));
    // Without the right to write the Run key the entry stays: the user is told, and the starter stays too.
    // Readable only, as HKEY_LOCAL_MACHINE is to a user who is not an administrator; then every right
    // to everyone, as in the test's own prefix.
    ASSERT_TRUE(Access(kRun, "D:P(A;;KR;;;WD)"));
    EXPECT_TRUE(Choose("R"));
    EXPECT_TRUE(Answer(kRemove, IDYES));
    EXPECT_TRUE(Answer(kNotRemoved, IDOK));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter"), quoted_);
    ASSERT_TRUE(Access(kRun, "D:P(A;;KA;;;WD)"));
    // The 1.0.0 64-bit program wrote its entry in the 64-bit view: it goes too.
    ASSERT_TRUE(Plant(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter", "old", KEY_WOW64_64KEY));
    EXPECT_TRUE(Choose("R"));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter"), quoted_);
    EXPECT_TRUE(Answer(kRemove, IDYES));
    EXPECT_TRUE(Answer(kReinstall, IDOK));
    EXPECT_TRUE(Ended());
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter"), kNone);
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter", KEY_WOW64_64KEY), kNone);
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRunNt, "Quellmar Starter"), quoted_);
    ASSERT_TRUE(Start());
}
