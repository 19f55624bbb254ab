#include "support/ScratchKey.h"

#include "support/UniqueName.h"

namespace support {

namespace {
const char kTestsKey[] = "Software\\QuellmarStarterTests";
}

ScratchKey::ScratchKey(HKEY root) : root_(root), path_(std::string(kTestsKey) + "\\" + UniqueName()) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) == ERROR_SUCCESS)
        RegCloseKey(key);
}

ScratchKey::~ScratchKey() {
    RegDeleteTreeA(root_, path_.c_str());
    RegDeleteKeyA(root_, kTestsKey);  // only goes when no other test's key is left
}

}  // namespace support
