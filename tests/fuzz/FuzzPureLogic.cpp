// One libFuzzer target over the rules that read outside text: the first
// byte picks a number (the registry type, the companion kind and the code
// page's rule), the other bytes are the input, given to every rule. Each
// check is a promise the rule makes for any input; ASan and UBSan watch
// everything else (a read past the data, a lead byte at the very end of a
// text).
#include "companions/FileAssociation.h"
#include "companions/NumberText.h"
#include "companions/PathHelpers.h"
#include "companions/ProgramCommandLine.h"
#include "registry/RegistryText.h"
#include "tray/CompanionCaption.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#define CHECK(condition) do { if (!(condition)) std::abort(); } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t number = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    CodePageRule rule{static_cast<CodePageRule::Kind>(number % 3), {}};
    for (int b = 0x81; b <= 0xFE; b += 2) rule.leadBytes[b] = true;

    // Icon indexes within +-32767; without a comma the caller's values stay.
    std::string file = "caller";
    std::int16_t index = 7;
    SplitIcon(text, file, index);
    ReadCompanionFileType(text);
    CHECK(index != -32768 && ReadCompanionIconIndex(text) != -32768);
    CHECK(text.find(',') != std::string::npos || (file == "caller" && index == 7));
    // An association's program part has no quotes. A command line is the text trimmed, with at most one
    // pair of quotes added, around a leading part that holds none and ends before a blank, a quote or the
    // end (here every name ending in ".exe" exists); a text whose first word is a path always gets them.
    const std::string program = ProgramFromCommand(text);
    CHECK(program.find('"') == std::string::npos && program.size() <= text.size());
    const std::string trimmed = TrimBlanks(text), view = SingleByteCharacters(trimmed, rule);
    const std::string line = ProgramCommandLine(text, [](const std::string& p) { return p.ends_with(".exe"); }, rule);
    bool quoted = false;  // the part ends at e, and holds no quote of the code page's characters
    for (std::string::size_type e = 0; !quoted && e <= trimmed.size() && e <= view.find('"'); ++e)
        quoted = (e == trimmed.size() || trimmed[e] == ' ' || trimmed[e] == '"') &&
                 line == '"' + trimmed.substr(0, e) + '"' + trimmed.substr(e);
    CHECK(line == trimmed || quoted);
    CHECK(line != trimmed || trimmed.empty() || trimmed[0] == '"' ||
          view.substr(0, view.find(' ')).find_first_of("\\/:") == std::string::npos);
    // A path's halves give it back, cut at its last "\" of the code page's characters.
    const bool slash = SingleByteCharacters(text, rule).find('\\') != std::string::npos;
    CHECK(GetFolder(text, rule) + GetFileName(text, rule) == (slash ? text : ""));
    CHECK(SingleByteCharacters(GetFileName(text, rule), rule).find('\\') == std::string::npos);
    // A shortened text is "..." and the text's end, cut between characters.
    const std::string shortened = ShortenText(text, 50, rule);
    CHECK(shortened == text || (shortened.starts_with("...") && text.ends_with(shortened.substr(3))));
    CHECK(rule.kind != CodePageRule::Kind::SingleByte || shortened.size() <= 50);
    // Registry data of any type: hex pairs, a signed number, or a text ending at its first zero.
    const std::string value = RegistryDataToText(number, data + 1, size - 1);  // exactly the data: ASan sees overreads
    if (number == 3) CHECK(value.size() == (text.empty() ? 0 : text.size() * 3 - 1));
    else if (number == 4) CHECK(std::to_string(static_cast<std::int32_t>(std::stoll(value))) == value);
    else CHECK(text.compare(0, value.size(), value) == 0 && value.find('\0') == std::string::npos);
    // A companion caption of any kind: never empty, disabled only as "[not defined]".
    const CompanionMenuEntry entry = CompanionCaption(static_cast<std::int16_t>(number % 4), text, "", rule);
    CHECK(!entry.Caption.empty() && (entry.Enabled || entry.Caption == "[not defined]"));
    return 0;
}
