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
struct CloseWindow { void operator()(HWND h) const { DestroyWindow(h); } };
struct CloseKernelHandle { void operator()(HANDLE h) const { CloseHandle(h); } };

using unique_hkey = UniqueHandle<HKEY, CloseKey>;
using unique_hmenu = UniqueHandle<HMENU, CloseMenu>;
using unique_hicon = UniqueHandle<HICON, CloseIcon>;
using unique_hwnd = UniqueHandle<HWND, CloseWindow>;
using unique_handle = UniqueHandle<HANDLE, CloseKernelHandle>;

}  // namespace platform
