// The program's entry point: loads the main form and runs the message loop.
#include "platform/Win32Api.h"

#include "core/StarterMain.h"

namespace {

// DLLs are looked for in the system folder only, never beside the program
// or in the current directory, so none can be planted there. The function
// is looked up at run time: systems without it have no such loader option.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set) set(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    return RunStarter();
}
