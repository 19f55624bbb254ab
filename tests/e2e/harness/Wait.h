// Bounded waiting: every wait in the end-to-end tests polls a condition
// until it holds or a time limit passes. Nothing sleeps for a fixed time in
// the hope that something has happened by then.
#pragma once

#include "platform/Win32Api.h"

namespace e2e {

// Long enough for a cold start of a program under Wine on a busy machine.
inline constexpr DWORD kDefaultTimeoutMs = 15000;
inline constexpr DWORD kPollMs = 20;

// Polls condition until it gives true (then true) or timeoutMs have passed
// (then false, after one last look). Messages of the calling thread are
// pumped meanwhile, so a test that owns windows keeps them responsive.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return condition();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(kPollMs);
    }
}

}  // namespace e2e
