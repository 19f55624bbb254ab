#include "platform/FormWindow.h"

#include <utility>

namespace platform {

namespace {

// The extra bytes of a form's window hold the form object at this index.
constexpr int kFormSlot = 0;
// The program icon's resource identifier (IDI_STARTER in the resource script).
constexpr WORD kProgramIconId = 1;

FormWindow* FormOf(HWND hwnd) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, kFormSlot));
}

// A function of user32 that only newer systems have (the DPI functions came
// with Windows 10), looked up at run time so that the program still starts
// on the systems without it.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The system's DPI: the DPI of every window where windows have none of their own.
UINT SystemDpi() {
    const unique_window_dc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND hwnd) {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const UINT dpi = forWindow && hwnd ? forWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

// A metric for dpi. Without the system's own answer (before Windows 10), the
// metric for the system's DPI is scaled, for a monitor of another DPI.
int MetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace

FormWindow::FormWindow(std::string className, std::string caption)
    : className_(std::move(className)), caption_(std::move(caption)) {}

FormWindow::~FormWindow() {
    // The form object is going away: whoever subclassed its window (the
    // subclassing engine, with targets that may be this very object, already
    // half destroyed) must not see the window's last messages. The window
    // gets its own procedure back and is destroyed with that.
    if (hwnd_ && GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&FormWindow::StaticWindowProc))
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::StaticWindowProc));
    Destroy();
}

bool FormWindow::RegisterFormClass() const {
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FormWindow::StaticWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = module;
    wc.lpszClassName = className_.c_str();
    if (RegisterClassExA(&wc)) return true;
    // Registered by an earlier form of the same kind: that's as good.
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool FormWindow::Create() {
    if (hwnd_) return true;
    if (!RegisterFormClass()) return false;
    HINSTANCE module = GetModuleHandleA(nullptr);
    // A popup tool window of no size: no border, no minimum size, no taskbar
    // button, so it stays unseen even while it is "visible".
    HWND created = CreateWindowExA(WS_EX_TOOLWINDOW, className_.c_str(), caption_.c_str(), WS_POPUP, 0, 0, 0, 0,
                                   nullptr, nullptr, module, this);
    if (!created) return false;
    // hwnd_ was set at WM_NCCREATE already; the icon is loaded once the
    // window exists.
    hwnd_ = created;
    if (!icon_) ReloadIcon();
    return true;
}

unique_hicon FormWindow::ReloadIcon(UINT dpi) {
    if (dpi == 0) dpi = WindowDpi(hwnd_);
    // The image the module holds for this size, not a smaller one stretched.
    unique_hicon icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId),
                                                    IMAGE_ICON, MetricForDpi(SM_CXSMICON, dpi),
                                                    MetricForDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR)));
    if (!icon) return unique_hicon();  // the icon there is stays
    std::swap(icon_, icon);
    return icon;
}

void FormWindow::Destroy() {
    // WM_NCDESTROY clears hwnd_, so a window destroyed by another road
    // (WM_CLOSE) isn't destroyed a second time here.
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

// A size the window already has needs no update: every opening of the
// popup menu sets the main form's size to the zero it already has.
void FormWindow::SetWidth(int width) {
    RECT r{};
    if (!hwnd_ || !GetWindowRect(hwnd_, &r) || r.right - r.left == width) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetHeight(int height) {
    RECT r{};
    if (!hwnd_ || !GetWindowRect(hwnd_, &r) || r.bottom - r.top == height) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void FormWindow::SetVisible(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void FormWindow::Focus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

LRESULT FormWindow::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK FormWindow::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* form = static_cast<FormWindow*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, kFormSlot, reinterpret_cast<LONG_PTR>(form));
        form->hwnd_ = hwnd;
    }
    FormWindow* form = FormOf(hwnd);
    // Messages before WM_NCCREATE (and any after the form let go) have no form.
    if (!form) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const LRESULT result = form->FormProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, kFormSlot, 0);
        form->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace platform
