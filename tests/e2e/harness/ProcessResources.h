// What a running program holds, measured from outside: its GDI objects,
// its USER objects, its kernel handles and its private memory. A program
// that gives back what it takes ends a stretch of use with the figures it
// began with.
//
// Each figure comes from the system's own call where that works
// (GetGuiResources, GetProcessHandleCount, GetProcessMemoryInfo's
// PrivateUsage). Wine 8 answers the first with 0 and "not implemented",
// the second and the third with 0, so there the harness measures the same
// things another way and says so in `how`:
//   - GDI objects: the entries in use of the process's GDI handle table,
//     read from its memory (the table is found by the entries of the stock
//     objects, which every process has at the same handles);
//   - USER objects: the windows of the process (top-level, child and
//     message-only); menus, icons and cursors can't be counted from
//     outside there;
//   - kernel handles: the system's handle list, filtered by the process;
//   - private memory: PagefileUsage, which Wine takes from the private
//     (anonymous) memory the process has touched.
#pragma once

#include "platform/Win32Api.h"

#include <cstddef>
#include <optional>
#include <string>

namespace e2e {

struct Measured {
    std::optional<std::size_t> value;  // empty: could not be measured
    std::string how;
};

// process: a handle with query and read access; pid: its identifier.
Measured GdiObjectsOf(HANDLE process);
Measured UserObjectsOf(HANDLE process, DWORD pid);
Measured KernelHandlesOf(HANDLE process, DWORD pid);
Measured PrivateBytesOf(HANDLE process);

struct ResourceFigures {
    Measured gdiObjects;
    Measured userObjects;
    Measured kernelHandles;
    Measured privateBytes;
};

ResourceFigures MeasureResources(HANDLE process, DWORD pid);

// "gdi 27, user 5 (windows), handles 31, private 2363392 bytes", for the
// test output.
std::string Describe(const ResourceFigures& figures);

}  // namespace e2e
