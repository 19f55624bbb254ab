// Quellmar installed in a folder whose name is in scripts beyond any ANSI
// code page (Greek and Japanese): the starter, running with UTF-8 as its
// code page, writes that path into its Run entries unharmed and launches
// Quellmar from there.
#include "harness/JobStart.h"
#include "harness/StarterTest.h"
#include "harness/WideFiles.h"
#include "harness/WideText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e {
namespace {

// "Πρόγραμμα 音楽"
const std::wstring kFolderName = L"\u03a0\u03c1\u03cc\u03b3\u03c1\u03b1\u03bc\u03bc\u03b1 \u97f3\u697d";

struct WideRegistryText {
    bool present = false;
    DWORD type = REG_NONE;
    std::wstring text;
};

// The value as the wide API gives it, without its closing zero.
WideRegistryText ReadRegistryTextW(HKEY root, const char* key, const char* name) {
    WideRegistryText value;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, WideFromAnsi(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return value;
    std::wstring wideName = WideFromAnsi(name);
    DWORD size = 0;
    if (RegQueryValueExW(opened, wideName.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(opened, wideName.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()),
                             &size) == ERROR_SUCCESS) {
            value.present = true;
            value.text.assign(data.data(), size / sizeof(wchar_t));
            if (!value.text.empty() && value.text.back() == L'\0') value.text.pop_back();
        }
    }
    RegCloseKey(opened);
    return value;
}

std::wstring ProgramFileOfW(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return std::wstring();
    wchar_t path[MAX_PATH * 2] = L"";
    DWORD size = MAX_PATH * 2;
    std::wstring file = QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size) : std::wstring();
    CloseHandle(process);
    return file;
}

class UnicodeFolder : public StarterTest {
protected:
    void SetUp() override {
        StarterTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(MakeFreshFolderW(folder_)) << Utf8FromWide(folder_);
        ASSERT_TRUE(CopyFileToW(WideFromAnsi(ToWindowsPath(E2E_STARTER_EXE)), starter_)) << Utf8FromWide(starter_);
        ASSERT_TRUE(CopyFileToW(WideFromAnsi(ToWindowsPath(E2E_STANDIN_EXE)), target_)) << Utf8FromWide(target_);
    }

    void TearDown() override {
        StarterTest::TearDown();  // ends the programs, which hold their files
        EXPECT_TRUE(DeleteFolderW(folder_)) << Utf8FromWide(folder_);
    }

    // The stand-in's window among the test's processes, and its process.
    HWND WaitForStandinWindow(DWORD& pid) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (DWORD candidate : job().ProcessIds()) {
                if ((found = FindTopLevel(nullptr, kCaptionNormal, candidate)) != nullptr) {
                    pid = candidate;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    const std::wstring folder_ = JoinPathW(WideFromAnsi(kTestsRoot), kFolderName);
    const std::wstring starter_ = JoinPathW(folder_, L"QuellmarStarter.exe");
    const std::wstring target_ = JoinPathW(folder_, L"Quellmar.exe");
};

TEST_F(UnicodeFolder, RunEntriesHoldThePathAndLaunchStartsQuellmarThere) {
    std::vector<HWND> before = TrayIconWindows();
    StartedProcess starter = StartInJob(job(), L"\"" + starter_ + L"\"");
    ASSERT_TRUE(starter) << "could not start " << Utf8FromWide(starter_) << ", error " << GetLastError();
    HWND icon = WaitForNewTrayIcon(before);
    ASSERT_NE(icon, nullptr) << "no tray icon appeared; the starter "
                             << (starter.Running() ? "still runs" : "has ended");
    ASSERT_TRUE(starter.WaitUntilIdle());

    const std::wstring quoted = L"\"" + starter_ + L"\"";
    for (const char* key : {kRunKey, kRunKeyNt}) {
        WideRegistryText value = ReadRegistryTextW(HKEY_LOCAL_MACHINE, key, kRunValue);
        EXPECT_TRUE(value.present) << key;
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << key;
        EXPECT_EQ(Utf8FromWide(value.text), Utf8FromWide(quoted)) << key;
    }

    // "Launch Quellmar (Normal Mode)", the first entry.
    ASSERT_NE(OpenMenu(icon, starter), nullptr);
    PressKeys({VK_DOWN, VK_RETURN});
    DWORD standin = 0;
    ASSERT_NE(WaitForStandinWindow(standin), nullptr) << "Quellmar was not launched";
    EXPECT_EQ(Utf8FromWide(ProgramFileOfW(standin)), Utf8FromWide(target_));

    // Its log, beside its program file, holds its path as it was started.
    const std::wstring log = JoinPathW(folder_, L"Quellmar.starts.log");
    std::vector<std::string> lines;
    EXPECT_TRUE(WaitUntil([&] { return !(lines = ReadLinesW(log)).empty(); }))
        << "the stand-in left no log in " << Utf8FromWide(folder_);
    ASSERT_EQ(lines.size(), 1u);
    std::string commandLine = lines[0].substr(0, lines[0].rfind('\t'));
    EXPECT_EQ(WithoutProgramQuotes(commandLine), Utf8FromWide(target_));
}

}  // namespace
}  // namespace e2e
