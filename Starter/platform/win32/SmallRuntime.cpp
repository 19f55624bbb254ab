// What keeps the program file small: the parts of the C++ runtime that would
// otherwise link in the library's exception classes, a second string
// implementation, the unwinder and a threads library - more than half of the
// program file. Linked into the program only (the tests keep the library's
// own). Nothing in the program throws or catches (it is built without
// exceptions), so where the library would report a failure by throwing, the
// program ends at once, as an exception that nothing catches would end it.
// The benchmark prints the program's size: a toolchain change that stops
// these replacements from taking shows there at once.
#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__GLIBCXX__)
// The GNU library's default terminate handler prints to a console this
// program doesn't have, and brings the demangler with it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The GNU library's throw helpers: no memory left, an array size too large,
// a text beyond the largest size, a position out of range.
namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
#endif

// The language's own replaceable operator new, for the same reason: memory
// that runs out ends the program at once rather than by std::bad_alloc.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    std::abort();
}
