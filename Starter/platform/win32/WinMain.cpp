// The program's entry point: loads the main form and runs the message loop.
#include "platform/Win32Api.h"

#include "core/StarterMain.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

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
// Nothing in this program throws or catches an exception (it is built
// without them), so where the GNU C++ library would still report a failure
// by one - no memory left, a text beyond the largest size - the program
// ends here at once, which is where an exception that nothing catches ends
// too. Left to the library, these would link in its exception classes, a
// second string implementation, the unwinder and a threads library: more
// than half of the program file. Its default terminate handler would also
// print to a console this program doesn't have.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
#endif

// Replaced as the language allows, for the same reason: memory that runs
// out ends the program at once rather than by an exception.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    std::abort();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    return RunStarter();
}
