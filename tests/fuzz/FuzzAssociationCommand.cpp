// The program scan of association commands: any command must give a
// program that is a trimmed, quote-free piece of it.
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
    if (program.find("%1") != std::string::npos) std::abort();
    return 0;
}
