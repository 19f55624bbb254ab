// The program scan of association commands: any command must give a
// program no longer than it, trimmed and without quotes.
#include "companions/FileAssociation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string command(reinterpret_cast<const char*>(data), size);
    std::string program = ProgramFromCommand(command);
    if (program.size() > command.size()) std::abort();
    if (program.find('"') != std::string::npos) std::abort();
    if (!program.empty() && (program.front() == ' ' || program.back() == ' ')) std::abort();
    // (A "%1" can still appear in the program where the scan dropped a quote
    // between "%" and "1": only an adjacent "%1" in the command ends it.)
    return 0;
}
