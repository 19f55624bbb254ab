// One move-only owner per handle kind, so that every handle the starter
// opens is closed exactly once, on every path.
#pragma once

#include "platform/Win32Api.h"

#include <utility>

namespace platform {

template <typename Handle, typename Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // For out-parameters of the API: closes what is held, then hands out the slot.
    Handle* put() { reset(); return &handle_; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    // Closing what was held leaves the thread's last error as it was, so a
    // caller may still read the error of the call that gave the new handle.
    void reset(Handle h = Handle{}) {
        Handle old = std::exchange(handle_, h);
        if (old == Handle{}) return;
        const DWORD error = GetLastError();
        Close{}(old);
        SetLastError(error);
    }

private:
    Handle handle_{};
};

struct CloseKey { void operator()(HKEY h) const { RegCloseKey(h); } };
struct CloseMenu { void operator()(HMENU h) const { DestroyMenu(h); } };
struct CloseIcon { void operator()(HICON h) const { DestroyIcon(h); } };
struct CloseKernelHandle { void operator()(HANDLE h) const { CloseHandle(h); } };

using unique_hkey = UniqueHandle<HKEY, CloseKey>;
// A menu is owned until it is attached to another (AppendMenu with
// MF_POPUP), which then destroys it with itself: release it once attached.
using unique_hmenu = UniqueHandle<HMENU, CloseMenu>;
using unique_hicon = UniqueHandle<HICON, CloseIcon>;
using unique_handle = UniqueHandle<HANDLE, CloseKernelHandle>;

// The process and thread handles of a start, both closed with it.
class unique_process_information {
public:
    unique_process_information() = default;
    ~unique_process_information() { reset(); }
    unique_process_information(const unique_process_information&) = delete;
    unique_process_information& operator=(const unique_process_information&) = delete;
    unique_process_information(unique_process_information&& other) noexcept
        : info_(std::exchange(other.info_, PROCESS_INFORMATION{})) {}
    unique_process_information& operator=(unique_process_information&& other) noexcept {
        if (this != &other) reset(), info_ = std::exchange(other.info_, PROCESS_INFORMATION{});
        return *this;
    }

    const PROCESS_INFORMATION& get() const { return info_; }
    explicit operator bool() const { return info_.hProcess != nullptr; }
    // For CreateProcess: closes what is held, then hands out the record.
    PROCESS_INFORMATION* put() { reset(); return &info_; }
    void reset() {
        const DWORD error = GetLastError();
        if (info_.hThread) CloseHandle(info_.hThread);
        if (info_.hProcess) CloseHandle(info_.hProcess);
        info_ = PROCESS_INFORMATION{};
        SetLastError(error);
    }

private:
    PROCESS_INFORMATION info_{};
};

// A window's device context (GetDC), with a font selected when one is given;
// the font is put back and the context given back to its window at the end.
class unique_window_dc {
public:
    explicit unique_window_dc(HWND window, HGDIOBJ font = nullptr)
        : window_(window), dc_(GetDC(window)), oldFont_(dc_ && font ? SelectObject(dc_, font) : nullptr) {}
    ~unique_window_dc() {
        if (!dc_) return;
        const DWORD error = GetLastError();
        if (oldFont_) SelectObject(dc_, oldFont_);
        ReleaseDC(window_, dc_);
        SetLastError(error);
    }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ oldFont_;
};

// A window's timer, killed at the end.
class unique_timer {
public:
    unique_timer(HWND window, UINT_PTR id, UINT elapseMs) : window_(window), id_(SetTimer(window, id, elapseMs, nullptr)) {}
    ~unique_timer() {
        if (!id_) return;
        const DWORD error = GetLastError();
        KillTimer(window_, id_);
        SetLastError(error);
    }
    unique_timer(const unique_timer&) = delete;
    unique_timer& operator=(const unique_timer&) = delete;

    UINT_PTR id() const { return id_; }

private:
    HWND window_;
    UINT_PTR id_;
};

}  // namespace platform
