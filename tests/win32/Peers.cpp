// What the starter shares with other programs, against the real API: the
// registry values they store, their windows, the close requests they send.
#include "companions/CompanionList.h"
#include "core/Mfrm.h"
#include "core/TargetApp.h"
#include "registry/Rmod.h"
#include "tray/MENUfrm.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <utility>

namespace {

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, bytes

Values ValuesOf(HKEY root, const std::string& keyPath, REGSAM view = 0) {
    Values values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return values;
    char name[256];
    BYTE data[1024];
    DWORD nameLength = sizeof name, type = 0, length = sizeof data;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &length) == ERROR_SUCCESS;
         ++i, nameLength = sizeof name, length = sizeof data)
        values[name] = {type, std::string(reinterpret_cast<char*>(data), length)};
    RegCloseKey(key);
    return values;
}

void Plant(HKEY root, const std::string& keyPath, const Values& values, REGSAM view = 0) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr), 0);
    for (const auto& [name, value] : values)
        RegSetValueExA(key, name.c_str(), 0, value.first, reinterpret_cast<const BYTE*>(value.second.data()),
                       static_cast<DWORD>(value.second.size()));
    RegCloseKey(key);
}

std::atomic<bool> hanging{false}, closed{false};
HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);

LRESULT CALLBACK QuellmarProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {  // stops answering until released (or half a minute has passed)
        hanging = true;
        WaitForSingleObject(release, 30000);
        hanging = false;
    }
    if (msg == WM_CLOSE) closed = true;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

// The save rewrote every value from its parsed copy: "12345" came back as
// "1234", "40000" as "32767", other types as REG_SZ, and unknown values went.
TEST(Peers, SavingTheBrowseApplicationKeepsEveryOtherValueAsStored) {
    const std::string product = "Software\\QuellmarStarterTests", key = product + "\\KZHalvane\\";
    Values stored = {{"file type1", {REG_SZ, std::string("12345", 6)}},
                     {"icon index1", {REG_SZ, std::string("40000", 6)}},
                     {"application name2", {REG_MULTI_SZ, std::string("C:\\a\0b\0", 8)}},
                     {"icon file3", {REG_BINARY, "\x01\xA0\xFF"}},
                     {"application command4", {REG_EXPAND_SZ, std::string("%SystemRoot%\\x.exe", 19)}},
                     {"stored by another program", {REG_SZ, std::string("x", 2)}}};
    RegDeleteTreeA(HKEY_CURRENT_USER, product.c_str());
    Plant(HKEY_CURRENT_USER, key, stored);
    CompanionList list;
    list.SetUpCompanionList(HKEY_CURRENT_USER, product, "", 0, "", 0);
    list.LoadCompanionList();
    list.BrowseApplication = "C:\\Tools\\browse.exe";
    list.SaveCompanionList();
    stored["browse application"] = {REG_SZ, std::string("C:\\Tools\\browse.exe", 20)};
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, key), stored);
    RegDeleteTreeA(HKEY_CURRENT_USER, product.c_str());
}

// The 64-bit build used the 64-bit view of HKEY_LOCAL_MACHINE\Software, not
// the one the suite and the 32-bit build share, and removal left the 1.0.0
// 64-bit program's Run entry behind.
TEST(Peers, LocalMachineSettingsLiveInThe32BitView) {
    const std::string key = "Software\\QuellmarStarterTests";
    const Values planted = {{"planted", {REG_SZ, std::string("p", 2)}}}, old = {{"old", {REG_SZ, ""}}};
    Plant(HKEY_LOCAL_MACHINE, key, planted, KEY_WOW64_32KEY);
    Plant(HKEY_LOCAL_MACHINE, key, old, KEY_WOW64_32KEY);
    Plant(HKEY_LOCAL_MACHINE, key, old, KEY_WOW64_64KEY);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, key, "written", "w", REG_SZ);
    Rmod::DeleteRegistryValueInBothViews(HKEY_LOCAL_MACHINE, key, "old");
    EXPECT_EQ(Rmod::QueryRegistryValue(HKEY_LOCAL_MACHINE, key, "planted"), "p");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY),
              (Values{{"planted", {REG_SZ, std::string("p", 2)}}, {"written", {REG_SZ, std::string("w", 2)}}}));
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY).count("old"), 0u);
    Rmod::DeleteRegistryKey(HKEY_LOCAL_MACHINE, key);
    EXPECT_TRUE(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY).empty());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
}

// A close request destroyed the menu form's window, so the menu's later
// commands went nowhere.
TEST(Peers, TheMenuFormOutlivesACloseRequest) {
    Mfrm main;
    HWND window = main.Menu().hwnd();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(main.Menu().hwnd(), window);
}

// "Close Quellmar" waited on a hung Quellmar window for good.
TEST(Peers, AHungQuellmarIsLeftAloneAndAnAnsweringOneIsClosed) {
    std::atomic<HWND> window{nullptr};
    std::thread quellmar([&] {
        WNDCLASSA type{};
        type.lpfnWndProc = QuellmarProc;
        type.lpszClassName = "QuellmarTestWindow";
        type.hInstance = GetModuleHandleA(nullptr);
        RegisterClassA(&type);
        window = CreateWindowExA(0, type.lpszClassName, "Quellmar", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, type.hInstance, nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    });
    while (!window) Sleep(10);
    PostMessageA(window, WM_APP, 0, 0);
    while (!hanging) Sleep(10);
    Sleep(5500);  // a window counts as hung once it has read no message for five seconds
    EXPECT_EQ(ControlTarget(TargetActionClose), False);
    EXPECT_TRUE(hanging);  // came back while the window still hangs
    EXPECT_FALSE(closed);
    SetEvent(release);
    while (hanging) Sleep(10);
    EXPECT_EQ(ControlTarget(TargetActionClose), True);
    EXPECT_TRUE(closed);
    quellmar.join();
}
