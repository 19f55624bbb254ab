// Files and folders named in any script, through the wide API: the
// test program itself runs in the system's ANSI code page, in which such
// names can't be written.
#pragma once

#include <string>
#include <vector>

namespace e2e {

std::wstring JoinPathW(const std::wstring& dir, const std::wstring& name);

// Makes path an empty folder (creating missing levels, or emptying what an
// earlier run left there). False when that is impossible.
bool MakeFreshFolderW(const std::wstring& path);
// Deletes the folder with everything in it; true when it is gone.
bool DeleteFolderW(const std::wstring& path);

bool FileExistsW(const std::wstring& path);
bool CopyFileToW(const std::wstring& from, const std::wstring& to);

// The file's lines as bytes (a program's log), without their line ends;
// empty when the file is missing.
std::vector<std::string> ReadLinesW(const std::wstring& path);

}  // namespace e2e
