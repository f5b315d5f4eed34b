// Stand-in for LCC's C compiler (test and demo equipment).
// lcc "<folder>\<base>.c" -O -zP1 -errout=lcc.err
// writes <base>.obj into the working directory and its diagnostics, one per
// line, into the file named by -errout= (standard output without it).

#include <cstdio>
#include <string>

#include "StandinCommon.h"

namespace {

using namespace ktv::standins;

// The C line right under the line reference "// [N]", or 1 when there is none.
int LineUnderReference(const std::vector<std::string>& cLines, const std::string& basicLine) {
    const std::string reference = "// [" + basicLine + "]";
    for (size_t index = 0; index < cLines.size(); ++index) {
        if (Trim(cLines[index]).rfind(reference, 0) == 0) {
            return static_cast<int>(index) + 2;
        }
    }
    std::fprintf(stderr, "lcc stand-in: no line reference for Basic line %s\n", basicLine.c_str());
    return 1;
}

// "<N> <message>" -> "<Kind> <base>.c: <C line> <message>"
std::string DiagnosticAtBasicLine(const char* kind, const std::string& value,
                                  const std::string& cName,
                                  const std::vector<std::string>& cLines) {
    const std::string trimmed = Trim(value);
    const size_t space = trimmed.find(' ');
    const std::string basicLine = trimmed.substr(0, space);
    const std::string message = space == std::string::npos ? "" : trimmed.substr(space + 1);
    return std::string(kind) + " " + cName + ": " +
           std::to_string(LineUnderReference(cLines, basicLine)) + " " + message;
}

}  // namespace

int main() {
    AppendCallLog("lcc");
    const Scenario scenario = Scenario::Load();
    if (!StartTool(scenario, "lcc")) {
        return 0;
    }
    std::string cPath;
    std::string errorFile;
    const std::vector<std::string> arguments = Arguments();
    for (size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument.rfind("-errout=", 0) == 0) {
            errorFile = argument.substr(8);
        } else if (!argument.empty() && argument[0] != '-') {
            cPath = argument;
        }
    }
    const std::string cName = FileNameOf(cPath);
    const auto source = ReadWholeFile(cPath);
    const std::vector<std::string> cLines =
        source ? SplitLines(*source) : std::vector<std::string>{};

    std::string diagnostics;
    if (!source) {
        diagnostics += "Error " + cName + ": 1 cannot open the file " + cPath + "\r\n";
    }
    for (const auto& [key, value] : scenario.Entries()) {
        if (key == "lcc.err") {
            diagnostics += value + "\r\n";
        } else if (key == "lcc.error_at_basic") {
            diagnostics += DiagnosticAtBasicLine("Error", value, cName, cLines) + "\r\n";
        } else if (key == "lcc.warning_at_basic") {
            diagnostics += DiagnosticAtBasicLine("Warning", value, cName, cLines) + "\r\n";
        }
    }
    if (errorFile.empty()) {
        std::fputs(diagnostics.c_str(), stdout);
    } else {
        WriteWholeFile(errorFile, diagnostics);
    }
    if (source && !scenario.Flag("lcc.no_obj")) {
        WriteWholeFile(StripExtension(cName) + ".obj",
                       "OBJ stand-in: compiled from " + cName + "\r\n");
    }
    return Finish(scenario, "lcc");
}
