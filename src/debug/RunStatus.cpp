#include "debug/RunStatus.h"

#include <cstdio>

namespace ktv {
namespace {

std::string Counted(std::size_t count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

}  // namespace

std::string ProblemCountText(const RunProblems& run) {
    std::size_t errors = 0;
    std::size_t warnings = 0;
    for (const Problem& problem : run.problems) {
        (problem.kind == DiagnosticKind::CWarning ? warnings : errors) += 1;
    }
    if (errors == 0 && warnings == 0) {
        return "no problems";
    }
    if (warnings == 0) {
        return Counted(errors, "error");
    }
    if (errors == 0) {
        return Counted(warnings, "warning");
    }
    return Counted(errors, "error") + ", " + Counted(warnings, "warning");
}

std::string BuiltText(std::string_view outputPath, std::chrono::milliseconds took) {
    // Tenths of a second, rounded, written without the locale's separator:
    // the text goes into the status bar as it stands.
    const long long tenths = (took.count() + 50) / 100;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%lld.%lld", tenths / 10, tenths % 10);
    return "Built " + std::string(outputPath) + " in " + seconds + " s";
}

std::string FailureText(std::string_view boxText) {
    const std::size_t end = boxText.find_first_of("\r\n");
    std::string_view line = boxText.substr(0, end);
    while (!line.empty() && line.back() == ' ') {
        line.remove_suffix(1);
    }
    return "Error: " + std::string(line);
}

std::string MarkerAddedText(std::string_view fileName) {
    return std::string(fileName) + " was marked for debugging: press Debug again";
}

}  // namespace ktv
