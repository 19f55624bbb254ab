// Time as the probe measures it: the performance counter in milliseconds,
// and bounded polling. Nothing waits a fixed time hoping that something has
// happened by then; every wait ends when its condition holds or its limit
// has passed.
#pragma once

#include <windows.h>

namespace bench {

// Milliseconds from an arbitrary origin, from the performance counter.
double NowMs();

// Polls condition every pollMs until it gives true (then true) or timeoutMs
// have passed (then false, after one last look). The probe owns no windows,
// so it pumps no messages meanwhile.
template <typename Condition>
bool PollUntil(Condition condition, double timeoutMs, DWORD pollMs = 1) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (NowMs() >= deadline) return condition();
        Sleep(pollMs);
    }
}

}  // namespace bench
