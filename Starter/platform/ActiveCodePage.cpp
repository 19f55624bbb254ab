#include "platform/ActiveCodePage.h"

#include "platform/Win32Api.h"

namespace platform {

const CodePageRule& ActiveCodePageRule() {
    static const CodePageRule rule = [] {
        CodePageRule active;
        const UINT codePage = GetACP();
        if (codePage == CP_UTF8) {
            active.kind = CodePageRule::Kind::Utf8;
            return active;
        }
        for (int byte = 0; byte < 256; ++byte)
            active.leadBytes[byte] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE;
        for (bool lead : active.leadBytes)
            if (lead) active.kind = CodePageRule::Kind::DoubleByte;
        return active;
    }();
    return rule;
}

}  // namespace platform
