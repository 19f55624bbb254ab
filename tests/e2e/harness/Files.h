// Files and folders of a test: host paths turned into Windows paths, fresh
// folders, copies, and reading the text files that programs leave behind.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// A Linux path as CMake knows it ("/work/x/y.exe") in the form Wine gives
// it on its Z: drive ("Z:\work\x\y.exe"). A path that already has a drive
// letter is returned unchanged, with "/" turned into "\".
std::string ToWindowsPath(const std::string& hostPath);

// dir + "\" + name, without doubling a "\" that dir already ends with.
std::string JoinPath(const std::string& dir, const std::string& name);

// Makes path an empty folder: creates the missing levels, or deletes what
// an earlier run left in it. False when that is impossible.
bool MakeFreshFolder(const std::string& path);

bool FileExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
bool WriteTextFile(const std::string& path, const std::string& text);
bool DeleteFileIfPresent(const std::string& path);

// The file's lines without their line ends; empty when it is missing.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace e2e
