// The simulated drives, folders and files, and the process's current
// directory: GetFileAttributesA, SetCurrentDirectoryA, GetCurrentDirectoryA.
#include "platform/sim/SystemWorld.h"

#include <cstring>
#include <map>
#include <stdexcept>

namespace sim::detail {

namespace {

// Keyed by the lower-case full path ("c:\dir\file.exe"; a drive root "c:\").
std::map<std::string, FileEntry> entries;
std::string currentDirectory;

FullPath Parse(const std::string& path) {
    FullPath full = MakeFullPath(path);
    if (full.error != 0) throw std::invalid_argument("not a usable path: " + path);
    return full;
}

// Adds the drive root and the folders of the first levelCount levels.
void AddFolders(const FullPath& path, std::size_t levelCount) {
    std::string rootKey = path.Key(0);
    if (entries.find(rootKey) == entries.end())
        entries[rootKey] = FileEntry{path.drive + "\\", FILE_ATTRIBUTE_DIRECTORY, false};
    for (std::size_t n = 1; n <= levelCount; ++n) {
        std::string key = path.Key(n);
        auto found = entries.find(key);
        if (found == entries.end()) {
            FullPath prefix = path;
            prefix.levels.resize(n);
            entries[key] = FileEntry{prefix.Display(), FILE_ATTRIBUTE_DIRECTORY, false};
        } else if (!found->second.IsFolder()) {
            throw std::invalid_argument("a file is in the way: " + found->second.path);
        }
    }
}

// Copies text into a caller's buffer as the kernel32 string getters do:
// the length without the zero when it fits, else the size needed with it.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace

const FileEntry* FindEntry(const FullPath& path, DWORD* error) {
    DWORD ignored = 0;
    if (error == nullptr) error = &ignored;
    if (path.error != 0) {
        *error = path.error;
        return nullptr;
    }
    auto root = entries.find(path.Key(0));
    if (root == entries.end()) {
        // A drive that doesn't exist answers like an empty one, except for
        // its root itself.
        *error = path.levels.size() == 1 ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    const FileEntry* entry = &root->second;
    for (std::size_t n = 1; n <= path.levels.size(); ++n) {
        if (!entry->IsFolder()) {
            *error = ERROR_PATH_NOT_FOUND;
            return nullptr;
        }
        auto found = entries.find(path.Key(n));
        if (found == entries.end()) {
            *error = n == path.levels.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
            return nullptr;
        }
        entry = &found->second;
    }
    if (path.trailingSeparator && !entry->IsFolder()) {
        *error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    return entry;
}

const std::string& CurrentDirectoryText() { return currentDirectory; }

void ResetFiles() {
    entries.clear();
    currentDirectory = "C:\\";
    AddFolder("C:\\");
}

}  // namespace sim::detail

namespace sim {

using detail::FullPath;
using detail::entries;

void AddFolder(const std::string& path) {
    FullPath full = detail::Parse(path);
    detail::AddFolders(full, full.levels.size());
}

void AddFile(const std::string& path, DWORD attributes, bool isProgram) {
    FullPath full = detail::Parse(path);
    if (full.levels.empty()) throw std::invalid_argument("a file needs a name: " + path);
    detail::AddFolders(full, full.levels.size() - 1);
    std::string key = full.Key();
    auto found = entries.find(key);
    if (found != entries.end() && found->second.IsFolder())
        throw std::invalid_argument("a folder is in the way: " + found->second.path);
    entries[key] = detail::FileEntry{full.Display(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY), isProgram};
}

void AddProgram(const std::string& path) { AddFile(path, FILE_ATTRIBUTE_ARCHIVE, true); }

bool SetAttributes(const std::string& path, DWORD attributes) {
    auto found = entries.find(detail::Parse(path).Key());
    if (found == entries.end()) return false;
    DWORD directory = found->second.attributes & FILE_ATTRIBUTE_DIRECTORY;
    found->second.attributes = (attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) | directory;
    return true;
}

bool RemoveFile(const std::string& path) {
    auto found = entries.find(detail::Parse(path).Key());
    if (found == entries.end() || found->second.IsFolder()) return false;
    entries.erase(found);
    return true;
}

bool RemoveFolder(const std::string& path) {
    std::string key = detail::Parse(path).Key();
    auto found = entries.find(key);
    if (found == entries.end() || !found->second.IsFolder()) return false;
    std::string below = key.back() == '\\' ? key : key + "\\";
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->first == key || it->first.compare(0, below.size(), below) == 0)
            it = entries.erase(it);
        else
            ++it;
    }
    return true;
}

bool Exists(const std::string& path) {
    return detail::FindEntry(detail::MakeFullPath(path), nullptr) != nullptr;
}

std::string CurrentDirectory() { return detail::currentDirectory; }

}  // namespace sim

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    if (lpFileName == nullptr || *lpFileName == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD error = 0;
    const sim::detail::FileEntry* entry = sim::detail::FindEntry(sim::detail::MakeFullPath(lpFileName), &error);
    if (entry == nullptr) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    // A file without any attribute reports FILE_ATTRIBUTE_NORMAL, as on Windows.
    return entry->attributes == 0 ? static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL) : entry->attributes;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
    if (lpPathName == nullptr || *lpPathName == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    sim::detail::FullPath full = sim::detail::MakeFullPath(lpPathName);
    DWORD error = 0;
    const sim::detail::FileEntry* entry = sim::detail::FindEntry(full, &error);
    if (entry == nullptr) {
        SetLastError(error);
        return FALSE;
    }
    if (!entry->IsFolder()) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    // Windows keeps the path in the case the caller wrote it, not the disk's.
    sim::detail::currentDirectory = full.Display();
    return TRUE;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    return sim::detail::CopyOut(sim::detail::currentDirectory, lpBuffer, nBufferLength);
}

UINT WINAPI GetACP() { return 1252; }
BOOL WINAPI IsDBCSLeadByteEx(UINT, BYTE) { return FALSE; }

UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
    return sim::detail::CopyOut(sim::detail::WindowsDirectoryText(), lpBuffer, uSize);
}
