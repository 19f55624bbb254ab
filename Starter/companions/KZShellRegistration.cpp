#include "companions/KZShellRegistration.h"

#include "platform/ActiveCodePage.h"
#include "platform/Win32Api.h"
#include "shared/TextRules.h"

#include <vector>

std::string GetWindowsPath() {
    std::vector<char> buffer(MAX_PATH, '\0');
    UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        // Too small: the call gave the size it needs (with the NUL) and left
        // the buffer's content undefined, so ask again with that size.
        buffer.assign(length + 1, '\0');
        length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length >= buffer.size()) length = 0;
    }
    std::string path(buffer.data(), length);
    return WithClosingBackslash(path.substr(0, path.find('\0')), platform::ActiveCodePageRule());
}
