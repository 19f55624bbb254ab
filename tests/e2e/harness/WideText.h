// Texts that leave the ANSI code page: paths in any script are handled as
// UTF-16 with the wide API, and compared with what programs write as UTF-8.
#pragma once

#include <string>

namespace e2e {

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
// A text of the test program's own ANSI code page (the build paths).
std::wstring WideFromAnsi(const std::string& ansi);

}  // namespace e2e
