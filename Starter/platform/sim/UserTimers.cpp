// Timers of the simulated desktop. Time doesn't pass in the simulation: a
// timer is only recorded, and a test that wants one to expire posts its
// WM_TIMER itself (from an idle hook, say).
#include "platform/sim/SimWin32.h"

#include <map>
#include <utility>

namespace {

std::map<std::pair<HWND, UINT_PTR>, UINT>& ActiveTimers() {
    static std::map<std::pair<HWND, UINT_PTR>, UINT> timers;
    return timers;
}

}  // namespace

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC /*lpTimerFunc*/) {
    if (!hWnd || !IsWindow(hWnd) || nIDEvent == 0) return 0;
    ActiveTimers()[{hWnd, nIDEvent}] = uElapse;
    return nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    return ActiveTimers().erase({hWnd, uIDEvent}) ? TRUE : FALSE;
}
