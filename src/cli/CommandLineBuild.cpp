#include "cli/CommandLineBuild.h"

#include <exception>

#include "debug/Problems.h"
#include "debug/SourceMarkers.h"
#include "model/MainWindowModel.h"
#include "model/Settings.h"
#include "text/Errors.h"

namespace ktv {

const char* const kBuildUsage =
    "Usage: ktvbuild [options] FILE.bas\n"
    "       ktvbuild --lsp [options]\n"
    "Builds a KTV Basic program as KTV Debugger's Debug button does, with its\n"
    "settings, and prints every problem as PATH:LINE: KIND: MESSAGE. With --lsp\n"
    "it is a language server on standard input and output instead, building each\n"
    ".bas file an editor opens or saves.\n"
    "\n"
    "  --lcc DIR         the LCC directory\n"
    "  --ktv DIR         the KTV directory\n"
    "  --libs LIST       the include libraries, separated by ;\n"
    "  --gui, --console, --dll\n"
    "                    what to link\n"
    "  --warnings        C warnings fail the build too\n"
    "  --insert-marker   add the $SOURCE line the Basic file needs for C problems\n"
    "                    to point at Basic lines\n"
    "  --help            this text\n"
    "\n"
    "Options override the settings for this build only. Exit code: 0 built,\n"
    "1 the source has errors, 2 anything else.\n";

BuildArguments ParseBuildArguments(const std::vector<std::string>& arguments) {
    BuildArguments parsed;
    bool haveFile = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size()) {
                throw InvalidArgument(argument + " needs a value");
            }
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h" || argument == "/?") {
            parsed.help = true;
        } else if (argument == "--lcc") {
            parsed.lccPath = value();
        } else if (argument == "--ktv") {
            parsed.ktvPath = value();
        } else if (argument == "--libs") {
            parsed.libraries = value();
        } else if (argument == "--gui") {
            parsed.linkMode = LinkMode::Gui;
        } else if (argument == "--console") {
            parsed.linkMode = LinkMode::Console;
        } else if (argument == "--dll") {
            parsed.linkMode = LinkMode::Dll;
        } else if (argument == "--warnings") {
            parsed.checkWarnings = true;
        } else if (argument == "--insert-marker") {
            parsed.insertMarker = true;
        } else if (argument == "--lsp") {
            parsed.languageServer = true;
        } else if (argument.starts_with("-") && argument.size() > 1) {
            throw InvalidArgument("unknown option " + argument);
        } else if (haveFile) {
            throw InvalidArgument("more than one Basic file: " + parsed.basicFile + " and " +
                                  argument);
        } else {
            parsed.basicFile = argument;
            haveFile = true;
        }
    }
    if (parsed.languageServer && haveFile) {
        throw InvalidArgument("--lsp builds the files an editor names, not " + parsed.basicFile);
    }
    if (!haveFile && !parsed.help && !parsed.languageServer) {
        throw InvalidArgument("no Basic file given");
    }
    return parsed;
}

namespace {

// A text the window shows in a box, as one line.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    return line;
}

// The build as a console program reports it.
class ConsoleHost : public WindowlessHost {
public:
    ConsoleHost(DebugContext& context, bool insertMarker, std::ostream& out, std::ostream& notes)
        : context_(context), insertMarker_(insertMarker), out_(out), notes_(notes) {}

    BuildExit Exit() const { return exit_; }

private:
    bool CheckMarker(const std::string& basicPath) override {
        MarkerLine marker = MarkerLine::Present;
        try {
            marker = CheckMarkerLine(context_.platform.files, basicPath, insertMarker_);
        } catch (const std::exception& e) {
            Failed(e.what());
            return false;
        }
        if (marker == MarkerLine::Missing) {
            notes_ << "ktvbuild: note: " << basicPath
                   << " has no $SOURCE line, so C problems point into the C file"
                      " (--insert-marker adds it)\n";
        } else if (marker == MarkerLine::Inserted) {
            notes_ << "ktvbuild: added the $SOURCE line to " << basicPath << "\n";
        }
        return true;
    }

    void Failed(std::string_view text) override {
        out_ << "ktvbuild: error: " << OneLine(text) << "\n";
        exit_ = kNotBuilt;
    }

    void Built(const std::string& outputPath, bool) override {
        out_ << "ktvbuild: built " << outputPath << "\n";
        exit_ = kBuilt;
    }

    void Stopped() override {
        notes_ << "ktvbuild: stopped\n";
        exit_ = kNotBuilt;
    }

    // Every problem the error files hold, warnings that do not end the build
    // included: an editor's task shows them all.
    void ReportProblems(const RunProblems& problems, bool endsBuild) override {
        for (const Problem& problem : problems.problems) {
            out_ << ProblemLine(problem, problems) << "\n";
        }
        if (endsBuild) {
            exit_ = kSourceProblems;
        }
        out_.flush();
    }

    DebugContext& context_;
    bool insertMarker_;
    std::ostream& out_;
    std::ostream& notes_;
    BuildExit exit_ = kNotBuilt;
};

}  // namespace

DebugOptions BuildOptions(const BuildArguments& arguments, Platform& platform) {
    MainWindowModel model;
    const std::string settings = SettingsFileToRead(platform);
    if (platform.files.FileExists(settings)) {
        try {
            LoadSettingsText(model, platform.files.ReadFile(settings));
        } catch (const std::exception& e) {
            throw FileError("Could not read the settings from " + settings + ": " + e.what());
        }
    }
    DebugOptions options = model.Options();
    options.basicFile = arguments.basicFile;
    options.lccPath = arguments.lccPath.value_or(options.lccPath);
    options.ktvPath = arguments.ktvPath.value_or(options.ktvPath);
    options.libraries = arguments.libraries.value_or(options.libraries);
    options.linkMode = arguments.linkMode ? arguments.linkMode : options.linkMode;
    options.checkWarnings = arguments.checkWarnings.value_or(options.checkWarnings);
    options.editor = EditorChoice::None;
    options.runProgram = options.debugInWedit = false;
    return options;
}

MarkerLine CheckMarkerLine(FileSystem& files, const std::string& basicPath, bool insert) {
    const std::string text = files.ReadFile(basicPath);
    if (HasMarkerLine(text)) {
        return MarkerLine::Present;
    }
    if (!insert) {
        return MarkerLine::Missing;
    }
    try {
        files.WriteFile(basicPath, WithMarkerLine(text));
    } catch (const std::exception& e) {
        throw FileError("Could not add the $SOURCE line to " + basicPath + ": " + e.what());
    }
    return MarkerLine::Inserted;
}

BuildExit RunCommandLineBuild(const BuildArguments& arguments, Platform& platform, RunControl& run,
                              std::ostream& out, std::ostream& notes) {
    DebugOptions options;
    try {
        options = BuildOptions(arguments, platform);
    } catch (const FileError& e) {
        out << "ktvbuild: error: " << e.what() << "\n";
        return kNotBuilt;
    }
    BuildNames names;
    DebugContext context{options, names, platform, 0, run};
    ConsoleHost host(context, arguments.insertMarker, out, notes);
    RunToolChain(context, host);
    out.flush();
    return host.Exit();
}

namespace {

constexpr std::string_view kUnwritableBefore = "The path ";
std::string UnwritableAfter(unsigned ansiCodePage) {
    return " holds characters that the KTV and LCC tools cannot take: they accept paths in the "
           "ANSI code page (" +
           std::to_string(ansiCodePage) +
           ") only. Rename the folder or file, or move it to a path without them.";
}

}  // namespace

std::wstring UnwritablePathMessage(std::wstring_view path, unsigned ansiCodePage) {
    const std::string after = UnwritableAfter(ansiCodePage);
    return std::wstring(kUnwritableBefore.begin(), kUnwritableBefore.end()) + std::wstring(path) +
           std::wstring(after.begin(), after.end());
}

std::string UnwritablePathMessage(std::string_view utf8Path, unsigned ansiCodePage) {
    return std::string(kUnwritableBefore) + std::string(utf8Path) + UnwritableAfter(ansiCodePage);
}

}  // namespace ktv
