#include "harness/ProcessResources.h"

#include "harness/DesktopWindows.h"

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace e2e {

namespace {

// An entry of the GDI handle table as Wine lays it out (24 bytes on both
// bitnesses); Type is 0 in a free entry. Index = low word of the handle,
// Unique = its high word.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entries are 24 bytes");
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kGdiTableBytes = kGdiTableEntries * sizeof(GdiHandleEntry);

bool ReadEntry(HANDLE process, const unsigned char* table, std::size_t index, GdiHandleEntry& entry) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, table + index * sizeof(GdiHandleEntry), &entry, sizeof entry, &got) &&
           got == sizeof entry;
}

// Whether the table at that address holds the stock objects where this
// process has them.
bool HoldsStockObjects(HANDLE process, const unsigned char* table) {
    const int stock[] = {WHITE_BRUSH, BLACK_BRUSH, BLACK_PEN, WHITE_PEN, SYSTEM_FONT, DEFAULT_PALETTE};
    for (int which : stock) {
        auto handle = reinterpret_cast<UINT_PTR>(GetStockObject(which));
        GdiHandleEntry entry{};
        if (!handle || !ReadEntry(process, table, LOWORD(handle), entry)) return false;
        if (entry.type == 0 || entry.unique != HIWORD(handle)) return false;
    }
    return true;
}

const unsigned char* FindGdiTable(HANDLE process) {
    MEMORY_BASIC_INFORMATION region{};
    const unsigned char* at = nullptr;
    while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region) {
        const auto* base = static_cast<const unsigned char*>(region.BaseAddress);
        bool readable = region.State == MEM_COMMIT && !(region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) &&
                        (region.Protect & (PAGE_READONLY | PAGE_READWRITE));
        if (readable && region.RegionSize >= kGdiTableBytes && HoldsStockObjects(process, base)) return base;
        const unsigned char* next = base + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return nullptr;
}

std::optional<std::size_t> CountGdiTableEntries(HANDLE process) {
    const unsigned char* table = FindGdiTable(process);
    if (!table) return std::nullopt;
    std::vector<GdiHandleEntry> entries(kGdiTableEntries);
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, table, entries.data(), kGdiTableBytes, &got) || got != kGdiTableBytes)
        return std::nullopt;
    std::size_t used = 0;
    for (const GdiHandleEntry& entry : entries) used += entry.type != 0 ? 1 : 0;
    return used;
}

// GetGuiResources, or nothing when the system doesn't implement it.
std::optional<std::size_t> GuiResources(HANDLE process, DWORD which) {
    SetLastError(0);
    DWORD count = GetGuiResources(process, which);
    if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return std::nullopt;
    return count;
}

void AddWindowAndChildren(HWND hwnd, std::size_t& count) {
    ++count;
    count += ChildWindows(hwnd).size();
}

std::size_t CountWindowsOf(DWORD pid) {
    std::size_t count = 0;
    for (HWND hwnd : TopLevelWindows()) {
        if (ProcessOf(hwnd) == pid) AddWindowAndChildren(hwnd, count);
    }
    for (HWND hwnd = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd;
         hwnd = FindWindowExA(HWND_MESSAGE, hwnd, nullptr, nullptr)) {
        if (ProcessOf(hwnd) == pid) AddWindowAndChildren(hwnd, count);
    }
    return count;
}

// The system's list of every kernel handle, as NtQuerySystemInformation
// gives it for SystemExtendedHandleInformation (64).
struct SystemHandleEntry {
    void* object;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};
struct SystemHandleList {
    ULONG_PTR numberOfHandles;
    ULONG_PTR reserved;
    SystemHandleEntry handles[1];
};

std::optional<std::size_t> CountSystemHandlesOf(DWORD pid) {
    using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return std::nullopt;
    constexpr ULONG kSystemExtendedHandleInformation = 64;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<unsigned char> buffer(1 << 16);
    for (int attempt = 0; attempt < 16; ++attempt) {
        ULONG needed = 0;
        LONG status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0) return std::nullopt;
        const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
        std::size_t count = 0;
        for (ULONG_PTR i = 0; i < list->numberOfHandles; ++i) count += list->handles[i].uniqueProcessId == pid ? 1 : 0;
        return count;
    }
    return std::nullopt;
}

}  // namespace

Measured GdiObjectsOf(HANDLE process) {
    if (std::optional<std::size_t> count = GuiResources(process, GR_GDIOBJECTS)) return {count, "GetGuiResources"};
    return {CountGdiTableEntries(process), "entries in use of the GDI handle table in the process's memory"};
}

Measured UserObjectsOf(HANDLE process, DWORD pid) {
    if (std::optional<std::size_t> count = GuiResources(process, GR_USEROBJECTS)) return {count, "GetGuiResources"};
    return {CountWindowsOf(pid), "windows of the process (top-level, child, message-only)"};
}

Measured KernelHandlesOf(HANDLE process, DWORD pid) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count != 0) return {count, "GetProcessHandleCount"};
    return {CountSystemHandlesOf(pid), "the system's handle list, filtered by the process"};
}

Measured PrivateBytesOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return {std::nullopt, "GetProcessMemoryInfo failed"};
    if (counters.PrivateUsage != 0) return {counters.PrivateUsage, "PrivateUsage"};
    if (counters.PagefileUsage != 0) return {counters.PagefileUsage, "PagefileUsage (PrivateUsage reads 0)"};
    return {std::nullopt, "PrivateUsage and PagefileUsage both read 0"};
}

ResourceFigures MeasureResources(HANDLE process, DWORD pid) {
    return ResourceFigures{GdiObjectsOf(process), UserObjectsOf(process, pid), KernelHandlesOf(process, pid),
                           PrivateBytesOf(process)};
}

namespace {

std::string Figure(const Measured& m) {
    return m.value ? std::to_string(*m.value) : std::string("?");
}

}  // namespace

std::string Describe(const ResourceFigures& f) {
    return "gdi " + Figure(f.gdiObjects) + ", user " + Figure(f.userObjects) + ", handles " +
           Figure(f.kernelHandles) + ", private " + Figure(f.privateBytes) + " bytes";
}

}  // namespace e2e
