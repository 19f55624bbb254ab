#include "harness/Standin.h"

#include "harness/Files.h"

namespace e2e {

std::vector<StandinStart> StandinStarts(const std::string& folder) {
    std::vector<StandinStart> starts;
    for (const std::string& line : ReadLines(JoinPath(folder, "Quellmar.starts.log"))) {
        std::string::size_type tab = line.rfind('\t');
        if (tab == std::string::npos) {
            starts.push_back(StandinStart{line, std::string()});
        } else {
            starts.push_back(StandinStart{line.substr(0, tab), line.substr(tab + 1)});
        }
    }
    return starts;
}

std::vector<std::string> StandinEvents(const std::string& folder) {
    return ReadLines(JoinPath(folder, "Quellmar.events.log"));
}

std::string WithoutProgramQuotes(const std::string& commandLine) {
    if (commandLine.empty() || commandLine[0] != '"') return commandLine;
    std::string::size_type close = commandLine.find('"', 1);
    if (close == std::string::npos) return commandLine;
    return commandLine.substr(1, close - 1) + commandLine.substr(close + 1);
}

bool SetStandinControl(const std::string& folder, const char* controlFile, bool on) {
    std::string path = JoinPath(folder, controlFile);
    return on ? WriteTextFile(path, "") : DeleteFileIfPresent(path);
}

}  // namespace e2e
