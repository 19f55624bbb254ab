// The name under which a running starter claims its program file.
#pragma once

#include <string>

// "Local\QuellmarStarter." and 16 hexadecimal digits, a 64-bit FNV-1a digest
// of programPath with its ASCII letters upper-cased: one name per program
// file whatever the letter case it was started with, and of the same length
// for every path, so that no install path makes it too long for a mutex name
// (copies of the starter elsewhere don't count as this one).
std::string InstanceName(const std::string& programPath);
