#include "harness/MenuLook.h"

#include "harness/DesktopWindows.h"
#include "harness/Tray.h"

#include <atomic>
#include <set>
#include <thread>

namespace e2e {

std::vector<MenuItemLook> StarterMenuLook(const std::string& firstEntry, bool autoStartChecked) {
    return {
        {firstEntry},
        {"-"},
        {"Launch Quellmar (Special Modes)...", false, false, true},
        {"Launch Halvane Application...", false, false, true},
        {"-"},
        {"Visit &Homepage"},
        {"-"},
        {"&Auto Start Quellmar", false, autoStartChecked},
        {"-"},
        {"&Close Starter"},
        {"&Remove Starter"},
    };
}

namespace {

bool SameArea(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window that has not been drawn yet shows one colour at most.
bool HasDrawing(const ScreenCapture& capture) {
    std::set<std::uint32_t> colours;
    for (std::uint32_t p : capture.pixels) {
        colours.insert(p);
        if (colours.size() > 1) return true;
    }
    return false;
}

constexpr const char* kOwnerClass = "QuellmarTestsMenuOwner";

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HMENU BuildMenu(const std::vector<MenuItemLook>& items, std::vector<HMENU>& submenus) {
    HMENU popup = CreatePopupMenu();
    UINT id = 1;
    for (const MenuItemLook& item : items) {
        if (item.caption == "-") {
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item.grayed ? MF_GRAYED : MF_ENABLED) | (item.checked ? MF_CHECKED : MF_UNCHECKED);
        if (item.submenu) {
            HMENU sub = CreatePopupMenu();
            AppendMenuA(sub, MF_STRING, 1000 + id, "-");
            submenus.push_back(sub);
            AppendMenuA(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.caption.c_str());
        } else {
            AppendMenuA(popup, flags, id, item.caption.c_str());
        }
        ++id;
    }
    return popup;
}

}  // namespace

ScreenCapture CaptureSettledWindow(HWND hwnd, DWORD timeoutMs) {
    // Draw now whatever is still to be drawn, then watch the screen until
    // the picture stops changing.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    constexpr int kSameInARow = 4;
    ScreenCapture last;
    ScreenCapture settled;
    int same = 0;
    WaitUntil(
        [&] {
            if (!IsWindow(hwnd)) return false;
            ScreenCapture now = CaptureScreen(WindowRect(hwnd));
            bool unchanged = HasDrawing(now) && SameArea(now.area, last.area) && now.pixels == last.pixels;
            same = unchanged ? same + 1 : 0;
            last = now;
            if (same + 1 < kSameInARow) return false;
            settled = now;
            return true;
        },
        timeoutMs);
    return settled;
}

ScreenCapture CaptureReferenceMenu(const std::vector<MenuItemLook>& items, POINT at) {
    std::vector<HMENU> submenus;
    HMENU popup = BuildMenu(items, submenus);

    std::atomic<HWND> owner{nullptr};
    std::atomic<bool> done{false};
    // The menu loop is modal: it runs on a thread of its own, which owns
    // the menu's owner window, while this thread looks at the screen.
    std::thread shower([&] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kOwnerClass;
        RegisterClassA(&windowClass);  // fails harmlessly when registered before
        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
        owner = window;
        if (window) {
            SetForegroundWindow(window);
            TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr);
            DestroyWindow(window);
        }
        done = true;
    });

    ScreenCapture capture;
    HWND menu = WaitForPopupMenu(GetCurrentProcessId(), 5000);
    if (menu) capture = CaptureSettledWindow(menu);
    // Close it the way the system closes a menu whose owner is told to
    // cancel its modes.
    if (!WaitUntil([&] { return done.load(); }, 0)) {
        EndMenu();
        if (!WaitUntil([&] { return done.load(); }, 5000) && owner.load())
            PostMessageA(owner.load(), WM_CANCELMODE, 0, 0);
    }
    shower.join();
    DestroyMenu(popup);  // and its submenus with it
    WaitForPopupMenusClosed(GetCurrentProcessId(), 5000);
    return capture;
}

bool SameImage(const ScreenCapture& a, const ScreenCapture& b) {
    return !a.pixels.empty() && a.width() == b.width() && a.height() == b.height() && a.pixels == b.pixels;
}

::testing::AssertionResult MenuLooksLike(const ScreenCapture& shown, const ScreenCapture& expected,
                                         const std::string& name) {
    if (expected.pixels.empty()) return ::testing::AssertionFailure() << "the reference menu could not be drawn";
    if (shown.pixels.empty()) return ::testing::AssertionFailure() << "the menu could not be captured";
    if (SameImage(shown, expected)) return ::testing::AssertionSuccess();
    std::string shownPath = OutputPath(name + ".shown.bmp");
    std::string expectedPath = OutputPath(name + ".expected.bmp");
    SaveBmp(shown, shownPath);
    SaveBmp(expected, expectedPath);
    return ::testing::AssertionFailure() << "the menu (" << shown.width() << "x" << shown.height()
                                         << ") does not look like the expected one (" << expected.width() << "x"
                                         << expected.height() << "); see " << shownPath << " and " << expectedPath;
}

}  // namespace e2e
