// Auto-start and removal: switched on only after Yes, stored as "True" and
// honoured at the next start, switched off without a question; a setting
// that can't be stored is reported; removal asks, and on Yes deletes the
// first Run entry only (in both registry views) and ends the starter, or,
// when the entry can't be deleted, says so and stays.
#include "Driver.h"

#include <sddl.h>

const Box kNotSaved{
    kTitle, "The auto start setting could not be saved, please ask your administrator for the right to change it !", 48};
const Box kRemove{kTitle,
                  "Quellmar Starter needs hardly memory and allows you to quickly start Quellmar, the great tool to "
                  "clean up your mp3 collection. Do you really want to remove Quellmar Starter ?",
                  36};
const Box kGoodBoy{kTitle, "Good boy.", 64};
const Box kReinstall{kTitle, "To reinstall Quellmar Starter just start it once again manually.", 64};
const Box kNotRemoved{kTitle,
                      "Quellmar Starter could not be removed from the Windows start up, please ask your administrator "
                      "for the right to change it !", 48};
constexpr const char* kKey = "Software\\Quellmar\\Starter\\StartUp";
constexpr const char* kSetting = "auto start target program";
constexpr size_t kAutoStart = Line(M1AutoStart);

// Gives a key of the 32-bit view the access list sddl; gives back the one it
// had ("" when that can't be done).
std::string Access(const char* path, const char* sddl) {
    platform::unique_hkey key;
    alignas(void*) BYTE had[8192];
    DWORD size = sizeof had;
    PSECURITY_DESCRIPTOR now = nullptr;
    LPSTR text = nullptr;
    const bool done = !RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL | WRITE_DAC | KEY_WOW64_32KEY, key.put()) &&
        !RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, had, &size) &&
        ConvertSecurityDescriptorToStringSecurityDescriptorA(had, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr) &&
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &now, nullptr) &&
        !RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, now);
    const std::string previous = done ? text : "";
    LocalFree(now), LocalFree(text);
    return previous;
}

TEST_F(Journey, AutoStartAndRemoval) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Answer(kAsk, IDNO));
    // The menu form, told to close, stays: the commands chosen later still arrive.
    SendMessageA(FindWindowA("QuellmarStarterMenuForm", nullptr), WM_CLOSE, 0, 0);
    // A menu opens only once the command before it is done.
    EXPECT_TRUE(Choose("A", kAutoStart, "&Auto Start Quellmar"));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kKey, kSetting), kNone);
    EXPECT_TRUE(Answer(kAsk, IDYES));
    EXPECT_TRUE(Choose("C", kAutoStart, "&Auto Start Quellmar [x]"));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kKey, kSetting), "True");
    ASSERT_TRUE(Ended());
    ASSERT_TRUE(Start());
    EXPECT_EQ(Log(dir_ + "Quellmar.starts.log", 1), Lines{"\"" + dir_ + "Quellmar.exe\"\tC:\\"});
    // Once shown, Quellmar's window no longer takes the keys from the menu.
    ASSERT_TRUE(Wait([&] { return Find(nullptr, "Quellmar", 0); }));

    // Off: no question, and the key holds "False".
    EXPECT_TRUE(Choose("A"));
    EXPECT_TRUE(Wait([&] { return Reg(HKEY_LOCAL_MACHINE, kKey, kSetting) == "False"; }));
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
    // Readable only, as HKEY_LOCAL_MACHINE is to a user who is not an administrator; then as it was.
    const std::string access = Access(kRun, "D:P(A;;KR;;;WD)");
    ASSERT_NE(access, "");
    EXPECT_TRUE(Choose("R"));
    EXPECT_TRUE(Answer(kRemove, IDYES));
    EXPECT_TRUE(Answer(kNotRemoved, IDOK));
    EXPECT_EQ(Reg(HKEY_LOCAL_MACHINE, kRun, "Quellmar Starter"), quoted_);
    ASSERT_NE(Access(kRun, access.c_str()), "");
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
    EXPECT_TRUE(Wait([&] { return !IsWindow(icon_); })) << "the icon stayed";
}
