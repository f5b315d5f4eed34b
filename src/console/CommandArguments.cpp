#include "console/CommandArguments.h"

namespace ktv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string ArgumentsAfterProgramName(std::string_view commandLine) {
    std::size_t at = 0;
    bool quoted = false;
    while (at < commandLine.size() && (quoted || !IsBlank(commandLine[at]))) {
        if (commandLine[at] == '"') {
            quoted = !quoted;
        }
        ++at;
    }
    while (at < commandLine.size() && IsBlank(commandLine[at])) {
        ++at;
    }
    return std::string(commandLine.substr(at));
}

}  // namespace ktv
