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

namespace {

using Values = std::map<std::string, std::pair<DWORD, std::string>>;  // name: type, data

Values ValuesOf(HKEY root, const std::string& path, REGSAM view = 0) {
    Values values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return values;
    char name[256], data[256];
    for (DWORD i = 0, type = 0, nameSize = sizeof name, size = sizeof data;
         RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == 0;
         ++i, nameSize = sizeof name, size = sizeof data)
        values[name] = {type, std::string(data, size)};
    RegCloseKey(key);
    return values;
}

std::atomic<bool> hanging{true}, closed{false};
HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);

LRESULT CALLBACK QuellmarProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
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
    for (const auto& [name, value] : stored)
        RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), value.first, value.second.data(),
                        static_cast<DWORD>(value.second.size()));
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
// the one the suite and the 32-bit build share; removal left the 1.0.0
// 64-bit program's Run entry in the 64-bit view behind.
TEST(Peers, LocalMachineKeysLiveInThe32BitView) {
    const std::string key = "Software\\QuellmarStarterTests";
    HKEY wow64 = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &wow64, nullptr);
    RegSetValueExA(wow64, "old", 0, REG_SZ, reinterpret_cast<const BYTE*>("o"), 2);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, key, "old", "o", REG_SZ);
    Rmod::SetRegistryValue(HKEY_LOCAL_MACHINE, key, "written", "w", REG_SZ);
    Rmod::DeleteRegistryValueInBothViews(HKEY_LOCAL_MACHINE, key, "old");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY), (Values{{"written", {REG_SZ, std::string("w", 2)}}}));
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY), Values{});
    Rmod::DeleteRegistryKey(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY), Values{});
    RegCloseKey(wow64);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
}

// A close request destroyed the menu form's window, and the menu's later
// commands went nowhere.
TEST(Peers, TheMenuFormOutlivesACloseRequest) {
    Mfrm main;
    HWND window = main.Menu().hwnd();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window) && main.Menu().hwnd() == window);
}

// "Close Quellmar" waited on a hung Quellmar window for good.
TEST(Peers, AHungQuellmarIsLeftAloneAndAnAnsweringOneIsClosed) {
    std::atomic<HWND> window{nullptr};
    std::thread quellmar([&] {
        WNDCLASSA type{0, QuellmarProc, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, nullptr, "QuellmarTestWindow"};
        RegisterClassA(&type);
        window = CreateWindowExA(0, type.lpszClassName, "Quellmar", 0, 0, 0, 0, 0, {}, {}, type.hInstance, nullptr);
        WaitForSingleObject(release, 30000);  // reads no message until released: hung
        hanging = false;
        for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;) DispatchMessageA(&msg);
    });
    while (!window) Sleep(10);
    Sleep(6000);  // a window counts as hung once it has read no message for five seconds
    EXPECT_EQ(ControlTarget(TargetActionClose), False);
    EXPECT_TRUE(hanging && !closed);  // back while the window still hangs, and not closed
    SetEvent(release);
    SendMessageA(window, WM_NULL, 0, 0);  // answers again
    EXPECT_EQ(ControlTarget(TargetActionClose), True);
    EXPECT_TRUE(closed);
    quellmar.join();
}
