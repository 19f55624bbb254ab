#include "tray/CompanionCaption.h"

#include "companions/CompanionKind.h"
#include "companions/PathHelpers.h"

namespace {

constexpr int kCaptionMaxLength = 50;

}  // namespace

CompanionMenuEntry CompanionCaption(std::int16_t kind, const std::string& path, const std::string& previousCaption,
                                    const CodePageRule& codePage) {
    std::string caption;
    switch (kind) {
    case CompanionKindEmpty:
        break;
    case CompanionKindProgram:
        caption = ShortenText(GetFileName(RemoveExtension(path, codePage), codePage), kCaptionMaxLength, codePage);
        break;
    case CompanionKindFolder:
        if (!path.empty()) {
            // A folder path ends with "\": its name is what stands before
            // it. The last character goes whatever it is, never a part of it.
            caption = GetFileName(RemoveLastCharacter(path, codePage), codePage);
            if (caption.empty()) caption = path;
        }
        break;
    default:
        caption = previousCaption;
        break;
    }
    if (caption.empty()) return CompanionMenuEntry{"[not defined]", false};
    return CompanionMenuEntry{caption, true};
}
