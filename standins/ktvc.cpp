// Stand-in for the KTV translator (test and demo equipment).
// ktvc "<folder>\<base>" -e  reads <folder>\<base>.bas and writes <folder>\<base>.c.

#include <string>

#include "StandinCommon.h"

namespace {

using namespace ktv::standins;

std::string CommentSafe(std::string text) {
    for (size_t at = text.find("*/"); at != std::string::npos; at = text.find("*/")) {
        text.replace(at, 2, "* /");
    }
    return text;
}

// Plausible C for one Basic line: the line itself as a comment, and a puts()
// for a PRINT of a string literal. Lines end in CR LF, as the Windows
// translator writes them.
std::string TranslateLine(const std::string& basic) {
    const std::string trimmed = Trim(basic);
    std::string c = "    /* " + CommentSafe(trimmed) + " */\r\n";
    if (Upper(trimmed).rfind("PRINT \"", 0) == 0 && trimmed.back() == '"') {
        c += "    puts(" + trimmed.substr(6) + ");\r\n";
    }
    return c;
}

std::string Translate(const std::string& baseName, const std::vector<std::string>& lines) {
    bool markLines = false;
    for (const std::string& line : lines) {
        if (Upper(Trim(line)).rfind("$SOURCE", 0) == 0) {
            markLines = true;
        }
    }
    std::string c = "/* " + baseName +
                    ".c: written by the KTV translator stand-in (test and demo equipment) */\r\n"
                    "#include <stdio.h>\r\n\r\nint main(void)\r\n{\r\n";
    for (size_t index = 0; index < lines.size(); ++index) {
        if (markLines) {
            c += "// [" + std::to_string(index + 1) + "]\r\n";
        }
        c += TranslateLine(lines[index]);
    }
    c += "    return 0;\r\n}\r\n";
    return c;
}

}  // namespace

int main() {
    AppendCallLog("ktvc");
    const Scenario scenario = Scenario::Load();
    if (!StartTool(scenario, "ktvc")) {
        return 0;
    }
    const std::vector<std::string> arguments = Arguments();
    const std::string basicPath = arguments.size() > 1 ? arguments[1] : std::string();
    const std::string folder = FolderOf(basicPath);
    const std::string baseName = FileNameOf(basicPath);
    const std::string cFile = folder + "\\" + baseName + ".c";
    const std::string errorFile = folder + "\\ktv.err";

    std::string errors;
    for (const auto& [key, value] : scenario.Entries()) {
        if (key == "ktvc.error") {
            errors += value + "\r\n";
        }
    }
    if (!errors.empty() || scenario.Flag("ktvc.empty_err")) {
        WriteWholeFile(errorFile, errors);
    }

    if (!scenario.Flag("ktvc.no_c")) {
        if (const auto copyFrom = scenario.Get("ktvc.copy_c")) {
            if (const auto bytes = ReadWholeFile(*copyFrom)) {
                WriteWholeFile(cFile, *bytes);
            }
        } else if (const auto basic = ReadWholeFile(basicPath + ".bas")) {
            WriteWholeFile(cFile, Translate(baseName, SplitLines(*basic)));
        } else if (errors.empty()) {
            WriteWholeFile(errorFile, "Cannot open the file " + baseName + ".bas 0\r\n");
        }
    }
    return Finish(scenario, "ktvc");
}
