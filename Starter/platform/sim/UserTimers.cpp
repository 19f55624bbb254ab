// Timers of the simulated desktop. Time doesn't pass in the simulation: a
// timer is only recorded, and a test that wants one to expire posts its
// WM_TIMER itself (from an idle hook, say). A window's timers end with it.
#include "platform/sim/UserState.h"

using namespace sim::user;

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC /*lpTimerFunc*/) {
    if (!hWnd || !IsWindow(hWnd) || nIDEvent == 0) return 0;
    S().timers[{hWnd, nIDEvent}] = uElapse;
    return nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    return S().timers.erase({hWnd, uIDEvent}) ? TRUE : FALSE;
}
