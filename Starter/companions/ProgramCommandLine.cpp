#include "companions/ProgramCommandLine.h"

#include "platform/AppRuntime.h"

std::string ProgramCommandLine(const std::string& program) {
    bool quoted = !program.empty() && program.front() == '"';
    bool hasBlank = program.find_first_of(" \t") != std::string::npos;
    if (quoted || !hasBlank || !platform::FileExistsNormal(program)) return program;
    return '"' + program + '"';
}
