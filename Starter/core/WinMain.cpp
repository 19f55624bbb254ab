// The program's entry point: loads the main form, then waits for window
// messages until the form's shutdown ends the process.
#include "core/Mfrm.h"
#include "platform/AppRuntime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::RestrictDllSearch();
    Mfrm main;
    if (!main.Create()) return 1;
    main.Form_Load();

    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;  // WM_QUIT, or the queue is unusable
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // Reached only if the loop ends without the shutdown: end the same way.
    main.Form_Unload(0);
}
