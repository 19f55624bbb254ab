// The association lookup itself: the keys below HKEY_CLASSES_ROOT, read
// through Rmod.
#include "companions/FileAssociation.h"

#include "companions/PathHelpers.h"
#include "platform/ActiveCodePage.h"
#include "registry/Rmod.h"
#include "shared/TextRules.h"

namespace {

// Every key of the lookup is read for its default (unnamed) value.
std::string DefaultValue(const std::string& keyPath) {
    return Rmod::QueryRegistryValue(HKEY_CLASSES_ROOT, keyPath, "");
}

}  // namespace

void LookUpFileAssociation(const std::string& fileName, const std::string& verb, std::string& description,
                           std::string& command, std::string& program, std::string& iconFile,
                           std::int16_t& iconIndex, bool& found) {
    std::string fileType = DefaultValue("." + GetExtension(fileName, platform::ActiveCodePageRule()));
    if (fileType.empty()) {
        found = false;
        return;
    }
    description = DefaultValue(fileType);
    const std::string typeKey = WithClosingBackslash(fileType, platform::ActiveCodePageRule());
    command = TrimBlanks(DefaultValue(typeKey + "shell\\" + verb + "\\command"));
    std::string icon = TrimBlanks(DefaultValue(typeKey + "DefaultIcon"));
    program = ProgramFromCommand(command);
    SplitIcon(icon, iconFile, iconIndex);
    found = true;
}
