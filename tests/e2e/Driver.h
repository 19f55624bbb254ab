// Drives the real starter as its user does and watches it from outside.
//
// Each journey gets a fresh folder "C:\Program Files\Quellmar Tests\<test>\"
// holding QuellmarStarter.exe and the stand-in as Quellmar.exe, and a
// recorder planted at C:\Program.exe: an unquoted command line with blanks
// starts that one, and the journey fails when it ever ran. Every process
// the journey starts is held in one job and ended afterwards; what it and
// the starter wrote to the registry goes again (see Plant).
// HKEY_LOCAL_MACHINE\Software is read and written in its 32-bit view, where
// both builds keep their settings, unless a journey asks for the 64-bit one.
//
// The tray icon, whose image is read from the screen, is clicked with
// either mouse button (SendInput), and the menu must open with its corner at
// the mouse; its entries are picked with keys or with a click of either
// button; a dialog's button gets its own click (BM_CLICK). What only the
// starter's own process can read, the entries of its menu with their places
// on screen and the icon of its message box, Peek.dll reads there, loaded
// into it through a hook. Every wait is bounded polling.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/Handles.h"
#include "tray/MenuLayout.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using Lines = std::vector<std::string>;
inline constexpr const char* kTitle = "Quellmar Starter";
inline constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr const char* kAutoStartKey = "Software\\Quellmar\\Starter\\StartUp";
inline constexpr const char* kAutoStartValue = "auto start target program";
inline constexpr const char* kPageType = "QuellmarTests.Page";  // a file type journeys may plant in HKCR
inline constexpr const char* kNone = "(none)";                  // Reg's answer for a missing value (or not REG_SZ)

// The line of an M1 entry among those Choose gives: a submenu's entries follow
// the entry that opens it (M2 shows Extended Help alone, M3 every slot).
constexpr size_t Line(M1Entry entry) {
    return size_t(entry - 1) + (entry > M1SpecialModes ? 1 : 0) + (entry > M1Companions ? kM3Entries : 0);
}

// A dialog as the user meets it: title, text and style. The style is
// MessageBox's number: the buttons (0 OK, 1 OK and Cancel, 4 Yes and No)
// plus the icon (16 stop, 32 question, 48 exclamation, 64 information).
using Box = std::tuple<std::string, std::string, int>;
const Box kAsk{kTitle, "Quellmar will now be automatically started at Windows start up so that you can use it to "
                       "quickly play mp3 files and start any of the Halvane applications or to create your own skin. "
                       "Do you agree ?", 36};

// Polls until find gives something (true, a window...) or the time is over; gives its last answer.
template <typename Find>
auto Wait(Find find, DWORD timeoutMs = 15000) {
    auto found = find();
    for (ULONGLONG end = GetTickCount64() + timeoutMs; !found && GetTickCount64() < end; found = find()) Sleep(20);
    return found;
}

inline DWORD Pid(HWND window) { DWORD pid = 0; return GetWindowThreadProcessId(window, &pid), pid; }

// A visible top-level window of that class and title (nullptr: any), of the process (0: any).
inline HWND Find(const char* windowClass, const char* title, DWORD pid) {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, windowClass, title)) && !(IsWindowVisible(w) && (!pid || Pid(w) == pid))) {}
    return w;
}

inline std::string Text(HWND window) {  // asked of the window itself: a tooltip keeps its text to itself
    std::string text(4096, '\0');
    return text.substr(0, SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
}

inline Lines Split(std::istream&& in) {
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

// The lines of a recorder's log ("<program>.starts.log": command line, tab, current
// directory), once it has that many.
inline Lines Log(const std::string& file, size_t atLeast) {
    Lines lines;
    Wait([&] { return (lines = Split(std::ifstream(file))).size() >= atLeast; }, atLeast ? 15000 : 0);
    return lines;
}

// A copy of the recorder (the stand-in under another name), folders and all.
inline bool PlantProgram(const std::string& path) {
    SHCreateDirectoryExA(nullptr, path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    return CopyFileA(E2E_STANDIN, path.c_str(), FALSE);
}

// HKEY_LOCAL_MACHINE is read and written in its 32-bit view unless view says otherwise.
inline std::string Reg(HKEY root, const std::string& key, const std::string& name, REGSAM view = KEY_WOW64_32KEY) {
    char data[4096] = "";
    DWORD size = sizeof data;
    HKEY k = nullptr;
    LSTATUS status = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | (root == HKEY_LOCAL_MACHINE ? view : 0), &k);
    if (!status) status = RegGetValueA(k, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size), RegCloseKey(k);
    return status ? kNone : data;
}

// A REG_SZ value given in UTF-8, stored through the wide API (the starter reads
// it in its own code page, UTF-8); nullptr deletes it. What a journey plants
// below Software\Quellmar goes with ClearStarterValues, its file type in
// HKEY_CLASSES_ROOT with the journey, and ".html" is put back. A value that
// is gone already counts as deleted.
[[nodiscard]] inline ::testing::AssertionResult Plant(HKEY root, const std::string& key, const std::string& name,
                                                      const char* value, REGSAM view = KEY_WOW64_32KEY) {
    platform::unique_hkey k;
    std::wstring wide(value ? strlen(value) + 1 : 0, L'\0');  // never more characters than bytes
    LSTATUS status = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | (root == HKEY_LOCAL_MACHINE ? view : 0),
                                     nullptr, k.put(), nullptr);
    if (!status && value)
        status = RegSetKeyValueW(k.get(), nullptr, std::wstring(name.begin(), name.end()).c_str(), REG_SZ, wide.data(),
                                 2 * MultiByteToWideChar(CP_UTF8, 0, value, -1, wide.data(), int(wide.size())));
    else if (!status && (status = RegDeleteValueA(k.get(), name.c_str())) == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    if (!status) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "could not plant " << key << "\\" << name << ": error " << status;
}

// What the starter writes, in both views (the 64-bit one holds the 1.0.0
// 64-bit program's Run entry): no journey may meet another's values.
inline void ClearStarterValues() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        for (const char* run : {kRun, kRunNt}) EXPECT_TRUE(Plant(HKEY_LOCAL_MACHINE, run, "Quellmar Starter", nullptr, view));
        platform::unique_hkey software;
        if (!RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | view, software.put())) RegDeleteTreeA(software.get(), "Quellmar");
    }
}

inline std::vector<HWND> Icons() {  // Wine's own tray, on a display that has none
    std::vector<HWND> icons;
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr), icon = nullptr;
    while (tray && (icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)))
        if (IsWindowVisible(icon)) icons.push_back(icon);
    return icons;
}

inline HWND NewIcon(const std::vector<HWND>& before) {  // one not among those before, once it shows
    return Wait([&] {
        for (HWND icon : Icons()) if (std::find(before.begin(), before.end(), icon) == before.end()) return icon;
        return HWND{};
    });
}

inline POINT Middle(HWND window) {
    RECT r{};
    return GetWindowRect(window, &r) ? POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2} : POINT{};
}

// The mouse moved to at (with a zero move, as a real mouse reports its arrival) and, given a button (its
// DOWN flag), clicked there.
inline bool Mouse(POINT at, DWORD button = 0) {
    SetCursorPos(at.x, at.y);
    INPUT in[3] = {{INPUT_MOUSE}, {INPUT_MOUSE}, {INPUT_MOUSE}};
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE, in[1].mi.dwFlags = button, in[2].mi.dwFlags = button * 2;  // its UP flag
    return SendInput(button ? 3 : 1, in, sizeof(INPUT));
}

// The window shows an image: a quarter of its pixels on screen or more differ from its corner (an icon's
// cell without one is the tray's background).
inline bool Drawn(HWND window) {
    RECT r{};
    const platform::unique_window_dc screen(nullptr);
    int drawn = 0;
    for (LONG y = GetWindowRect(window, &r) ? r.top : 0; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) drawn += GetPixel(screen.get(), x, y) != GetPixel(screen.get(), r.left, r.top);
    return drawn * 4 >= (r.right - r.left) * (r.bottom - r.top) && drawn > 0;
}

// What Peek.dll's hook (set by Start) reads in the window's thread: the window's menu entries, or its icon's style (UTF-8).
inline std::string Peek(HWND window) {
    static auto* answer = static_cast<char*>(MapViewOfFile(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536, L"QuellmarTestsPeek"), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    answer[0] = 0;
    return PostMessageW(window, RegisterWindowMessageW(L"QuellmarTestsPeek"), 0, 0) && Wait([&] { return answer[0] != 0; }, 5000) ? answer + 1 : "";
}

struct Journey : ::testing::Test {
    void SetUp() override {
        const std::string from = dir_.substr(0, dir_.size() - 1) + '\0';  // a list of one, ended by two NULs
        SHFILEOPSTRUCTA remove{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
        SHFileOperationA(&remove);
        ClearStarterValues();
        DeleteFileA("C:\\Program.starts.log");
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;  // even when this program dies
        SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
        ASSERT_TRUE(PlantProgram("C:\\Program.exe") && PlantProgram(dir_ + "Quellmar.exe") &&
                    CopyFileA(E2E_STARTER, (dir_ + "QuellmarStarter.exe").c_str(), FALSE)) << dir_;
    }

    void TearDown() override {
        TerminateJobObject(job_.get(), 1);
        Wait([&] { return Icons() == iconsBefore_; }, 5000);  // an ended program's icon goes soon after it
        EXPECT_TRUE(Plant(HKEY_CLASSES_ROOT, ".html", "", html_ == kNone ? nullptr : html_.c_str()));
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageType);
        ClearStarterValues();
        EXPECT_EQ(Log("C:\\Program.starts.log", 0), Lines{}) << "an unquoted command line started C:\\Program.exe";
        DeleteFileA("C:\\Program.exe");
    }

    platform::unique_process_information Run(std::string commandLine) {  // in the job, in the root of drive C:
        STARTUPINFOA startup{DWORD{sizeof startup}};
        platform::unique_process_information p;
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, "C:\\", &startup, p.put()))
            AssignProcessToJobObject(job_.get(), p.get().hProcess), ResumeThread(p.get().hThread);
        return p;
    }

    ::testing::AssertionResult Start() {  // the starter, until its tray icon shows and it waits for input
        const std::vector<HWND> before = Icons();
        starter_ = Run(quoted_);
        static const HMODULE peek = LoadLibraryA(E2E_PEEK);  // its hook on the starter's queue, gone with the thread
        static const auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(peek, MAKEINTRESOURCEA(1))));
        SetWindowsHookExW(WH_GETMESSAGE, hook, peek, starter_.get().dwThreadId);
        icon_ = NewIcon(before);
        WaitForInputIdle(starter_.get().hProcess, 15000);
        if (!icon_) return ::testing::AssertionFailure() << "no tray icon from " << quoted_;
        return Wait([&] { return Drawn(icon_); }) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "an icon without image";
    }

    bool Ended() { return WaitForSingleObject(starter_.get().hProcess, 15000) == WAIT_OBJECT_0; }

    // Clicks the icon with button_ and works the menu that opens, which must open at the mouse, until it
    // closes: with keys ('_' down, '>' right, '.' Enter, '!' Esc, a letter its key), or with a click of
    // the left ('*') or the right ('^') button on the entry at line. Keeps the entries it showed in
    // shown_; with expected, the entry at line must read so. A menu that closed before it was read or
    // before the starter took a command from it (under Wine a late focus event of the X server now and then
    // ends a menu) is opened and worked again, three times at most; Escape last gives no command.
    ::testing::AssertionResult Choose(const char* keys, size_t line = 0, const std::string& expected = "", int tries = 3) {
        shown_.clear();
        POINT at = Middle(icon_);
        at.x += at.x == at.y;  // a point whose x and y differ, so that swapped coordinates show
        if (!Wait([&] { return WindowFromPoint(at) == icon_; }, 5000) || !Mouse(at, button_))
            return ::testing::AssertionFailure() << "the icon can't be clicked";
        HWND menu = Wait([&] { return Find("#32768", nullptr, starter_.get().dwProcessId); });
        RECT r{};
        if (!menu || !GetWindowRect(menu, &r) || r.left != at.x || r.top != at.y)
            return ::testing::AssertionFailure() << "no menu opened at " << at.x << "," << at.y << " (" << r.left << "," << r.top << ")";
        std::vector<POINT> entries;  // the middle of each entry of the menu itself
        for (std::string& entry : shown_ = Split(std::istringstream(Peek(menu)))) {
            const size_t tab = std::min(entry.find('\t'), entry.size());  // none: a menu ending as it was read
            entries.push_back({}), sscanf(entry.substr(tab).c_str(), "\t%ld %ld", &entries.back().x, &entries.back().y);
            entry.resize(tab);
        }
        for (const char* k = keys; *k && !shown_.empty(); ++k) {
            const WORD vk = *k == '_' ? VK_DOWN : *k == '>' ? VK_RIGHT : *k == '.' ? VK_RETURN : *k == '!' ? VK_ESCAPE : *k;
            INPUT in[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};  // pressed and let go
            in[0].ki = {vk, 0, 0}, in[1].ki = {vk, 0, KEYEVENTF_KEYUP};
            if (*k == '*' || *k == '^') Mouse(entries.at(line), *k == '*' ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
            else SendInput(2, in, sizeof(INPUT));
        }
        if (!Wait([&] { return !Find("#32768", nullptr, starter_.get().dwProcessId); }))
            return ::testing::AssertionFailure() << "the menu stays after " << keys;
        if (shown_.empty() || (keys[strlen(keys) - 1] != '!' && WaitForSingleObject(taken_.get(), 5000) == WAIT_TIMEOUT))
            return --tries ? Choose(keys, line, expected, tries) : ::testing::AssertionFailure() << "the menu closed early, three times";
        if (expected.empty() || (line < shown_.size() && shown_[line] == expected)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "line " << line << " of " << ::testing::PrintToString(shown_);
    }

    // Waits for the starter's dialog of that title, puts the text into its
    // field, presses the button, and compares what it showed. The button
    // gets its own click: a mouse click on a box just shown was now and then
    // lost under Wine.
    ::testing::AssertionResult Answer(const Box& expected, int button, const char* text = nullptr) {
        const std::string& title = std::get<0>(expected);
        HWND box = Wait([&] { return Find("#32770", title.c_str(), starter_.get().dwProcessId); });
        if (!box) return ::testing::AssertionFailure() << "no dialog \"" << title << "\" came";
        const int buttons = GetDlgItem(box, IDYES) ? MB_YESNO : GetDlgItem(box, IDCANCEL) ? MB_OKCANCEL : MB_OK;
        Box seen{title, "", atoi(Peek(box).c_str()) + buttons};
        for (HWND c = nullptr; (c = FindWindowExA(box, c, "Static", nullptr));) std::get<1>(seen) += Text(c);
        if (HWND field = FindWindowExA(box, nullptr, "Edit", nullptr)) std::get<1>(seen) += " [" + Text(field) + "]";
        if (text) SetWindowTextA(FindWindowExA(box, nullptr, "Edit", nullptr), text);
        if (!PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0) || !Wait([&] { return !IsWindow(box); }))
            return ::testing::AssertionFailure() << "button " << button << " did not close " << ::testing::PrintToString(seen);
        if (seen == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "saw " << ::testing::PrintToString(seen);
    }

    const std::string dir_ = std::string("C:\\Program Files\\Quellmar Tests\\") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    std::string quoted_ = "\"" + dir_ + "QuellmarStarter.exe\"";  // the starter Start runs, as the Run entries hold it
    platform::unique_process_information starter_;
    const platform::unique_handle taken_{CreateSemaphoreW(nullptr, 0, 1000, L"QuellmarTestsTaken")};  // a command taken
    Lines shown_;  // the entries of the menu Choose opened last
    HWND icon_ = nullptr;
    DWORD button_ = MOUSEEVENTF_LEFTDOWN;  // the button that clicks the icon
    const platform::unique_handle job_{CreateJobObjectA(nullptr, nullptr)};
    const std::vector<HWND> iconsBefore_ = Icons();
    const std::string html_ = Reg(HKEY_CLASSES_ROOT, ".html", "");  // the association of the prefix
};
