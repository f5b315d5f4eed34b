#include "debug/ToolCommands.h"

#include <initializer_list>

namespace ktv {
namespace {

constexpr std::string_view kQuote = "\"";
constexpr std::string_view kCrLf = "\r\n";

std::string Join(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (std::string_view piece : pieces) {
        out += piece;
    }
    return out;
}

// "<dir>\bin\<tool>" with its quotes.
std::string QuotedTool(std::string_view directory, std::string_view tool) {
    return Join({kQuote, directory, "\\", "bin", "\\", tool, kQuote});
}

}  // namespace

std::string TranslatorCommand(std::string_view ktvPath, const BuildNames& names) {
    return Join({QuotedTool(ktvPath, "ktvc.exe"), " ", kQuote, names.folder, "\\", names.baseName,
                 kQuote, " -e"});
}

std::string ResourceCommand(std::string_view lccPath, const BuildNames& names) {
    return Join(
        {QuotedTool(lccPath, "lrc.exe"), " ", kQuote, names.folder, "\\", names.baseName, kQuote});
}

std::string DialogResourceCommand(std::string_view lccPath, const BuildNames& names) {
    return Join({QuotedTool(lccPath, "lrc.exe"), " ", kQuote, names.folder, "\\", names.baseName,
                 ".dlg", kQuote});
}

std::string CompilerCommand(std::string_view lccPath, const BuildNames& names) {
    return Join({QuotedTool(lccPath, "lcc.exe"), " ", kQuote, names.folder, "\\", names.baseName,
                 ".c", kQuote, " -O -zP1 -errout=lcc.err"});
}

std::string ResourceCompilerPath(std::string_view lccPath) {
    return Join({lccPath, "\\", "bin", "\\", "lrc.exe"});
}

LinkTarget LinkTargetFor(std::optional<LinkMode> mode, std::string_view baseName) {
    if (!mode) {
        return {};
    }
    switch (*mode) {
        case LinkMode::Gui:
            return {"-subsystem windows", Join({baseName, ".exe"})};
        case LinkMode::Console:
            return {"-subsystem console", Join({baseName, ".exe"})};
        case LinkMode::Dll:
            return {"-dll", Join({baseName, ".dll"})};
    }
    return {};
}

std::string ExpectedOutputName(const LinkTarget& target, std::string_view baseName) {
    return target.outputName.empty() ? Join({baseName, ".exe"}) : target.outputName;
}

std::vector<std::string> SplitLibraryList(std::string_view libraries) {
    std::vector<std::string> entries;
    if (libraries.empty()) {
        return entries;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = libraries.find(';', start);
        entries.emplace_back(libraries.substr(start, semicolon - start));
        if (semicolon == std::string_view::npos) {
            return entries;
        }
        start = semicolon + 1;
    }
}

std::string LibraryArguments(const std::vector<std::string>& libraries) {
    std::string out;
    for (const std::string& library : libraries) {
        out += library;
        out += ' ';
    }
    return out;
}

std::string LinkerCommand(std::string_view lccPath, const LinkTarget& target,
                          std::string_view baseName, std::string_view resourceArgument,
                          std::string_view libraryArguments) {
    return Join({QuotedTool(lccPath, "lcclnk.exe"), " -o ", target.outputName, " ",
                 target.subsystemSwitch, " -s ", baseName, ".obj", " ", resourceArgument, " ",
                 libraryArguments});
}

std::string SuccessPrompt(std::string_view baseName, bool warningsChecked, bool dll) {
    return Join({"Application ", baseName, ".bas has been compiled succesfully", kCrLf, kCrLf,
                 "There were no detected errors ", warningsChecked ? "or Warnings" : "",
                 dll ? "" : kCrLf});
}

}  // namespace ktv
