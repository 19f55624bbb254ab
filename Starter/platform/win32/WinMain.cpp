// The program's entry point: loads the main form and runs the message loop.
#include "platform/Win32Api.h"

#include "core/StarterMain.h"

#include <cstdlib>

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

#if defined(__GLIBCXX__)
// The GNU C++ library's default terminate handler prints the exception's
// demangled name to a console this program doesn't have, and drags the
// demangler and a printf engine (a fifth of the program file) in with it.
// Ending at once is all a GUI program can do there anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    return RunStarter();
}
