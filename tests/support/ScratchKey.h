// A registry key of a test's own: HKEY_CURRENT_USER (or another root)
// "Software\QuellmarStarterTests\<unique>", made when the test starts and
// removed with everything below it when the test ends, on both platforms.
#pragma once

#include "platform/Win32Api.h"

#include <string>

namespace support {

class ScratchKey {
public:
    explicit ScratchKey(HKEY root = HKEY_CURRENT_USER);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return root_; }
    // The key's path below the root, without a closing "\".
    const std::string& Path() const { return path_; }
    // A path below the scratch key: Path() + "\" + relative.
    std::string Below(const std::string& relative) const { return path_ + "\\" + relative; }

private:
    HKEY root_;
    std::string path_;
};

}  // namespace support
