#include "debug/ToolChain.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "debug/PostBuild.h"
#include "debug/ToolCommands.h"
#include "text/Errors.h"
#include "text/Paths.h"

namespace ktv {
namespace {

constexpr std::string_view kCrLf = "\r\n";

constexpr std::string_view kBadBasicFilename = "Bad Basic Filename";
constexpr std::string_view kMissingResourceCompiler = "Cannot find lrc.exe - Check lcc path";
constexpr std::string_view kMissingLibrary =
    "KTV Debugger cannot find one or more of your include libraries.";
constexpr std::string_view kPathOutsideCodePage =
    "Bad Basic Filename: its path holds characters that the KTV and LCC tools cannot take "
    "(shown as ?). They take paths in the ANSI code page only: rename the folder or the file, "
    "or move the file to a path without them.";

// A "?" cannot stand in a Windows file name: in a path it is a character the
// ANSI code page has no byte for, which the text was given in its place. The
// one "?" a path may hold is in the prefix "\\?\" of a long path.
bool HoldsCharacterOutsideCodePage(std::string_view path) {
    if (path.starts_with("\\\\?\\")) {
        path.remove_prefix(4);
    }
    return path.find('?') != std::string_view::npos;
}

std::string Replace(std::string text, char from, char to) {
    for (char& c : text) {
        if (c == from) {
            c = to;
        }
    }
    return text;
}

// One build. Each stretch of steps that reports one message on failure is
// one call of Stretch(); a stretch gives false when the run ends there (its
// problem already reported), true when the build goes on.
class ToolChain {
public:
    ToolChain(DebugContext& context, ToolChainHost& host)
        : context_(context),
          options_(context.options),
          host_(host),
          files_(context.platform.files) {}

    // Never throws: every failure reaches the host, and the finish always runs.
    void Execute() noexcept {
        try {
            // Each stretch reports its own failures; this catches one that
            // strikes between them (after the link, or for want of memory).
            ReportingFailure(
                [&] {
                    if (Build()) {
                        host_.Built(InFolder(output_), target_.IsDll());
                    }
                },
                [&](std::string_view reason) {
                    Report("The Debug run stopped: " + std::string(reason));
                });
        } catch (const RunStopped&) {
            // Nothing more of the run is done, and nothing is reported.
        }
        // A stop that came while the run was already ending (an editor being
        // steered, Wedit starting) is told the same way.
        if (context_.run.StopRequested()) {
            IgnoringFailure([&] { host_.Stopped(); });
        }
        Finish();
    }

private:
    using Describe = std::function<std::string(std::string_view reason)>;

    static Describe Fixed(std::string_view text) {
        return [text](std::string_view) { return std::string(text); };
    }
    static Describe WithReason(std::string_view text) {
        return [text](std::string_view reason) {
            return std::string(text) + ": " + std::string(reason);
        };
    }

    template <typename Body>
    bool Stretch(const Describe& describe, Body&& body) {
        bool goesOn = false;
        ReportingFailure([&] { goesOn = body(); },
                         [&](std::string_view reason) { Report(describe(reason)); });
        return goesOn;
    }

    void Report(std::string_view text) noexcept {
        IgnoringFailure([&] { host_.Failed(text); });
    }

    // Without this run's names the removal would hit an earlier run's files,
    // or, with an empty folder, files in the root of the drive.
    void Finish() noexcept {
        IgnoringFailure([&] {
            if (namesDerived_ && !Names().folder.empty()) {
                RemoveIntermediateFiles(context_);
            }
        });
        IgnoringFailure([&] { host_.End(); });
    }

    const BuildNames& Names() const { return context_.names; }
    std::string InFolder(std::string_view name) const { return JoinPath(Names().folder, name); }

    bool Build() {
        return Stretch(WithReason("Could not prepare the Debug run"), [&] { return Prepare(); }) &&
               Stretch(Fixed(kBadBasicFilename), [&] { return CheckBasicFile(); }) &&
               Stretch(Fixed("Could not run ktv"), [&] { return Translate(); }) &&
               Stretch(WithReason("Could not show the translator's errors"),
                       [&] { return CheckTranslation(); }) &&
               Stretch(Fixed("Could not compile resource file"),
                       [&] { return CompileResources(); }) &&
               Stretch(Fixed("Error: Could not Compile with LCC"), [&] { return Compile(); }) &&
               Stretch(Fixed("Cannot Pass C error file"), [&] { return CheckCompilation(); }) &&
               Stretch(LinkerFailure(), [&] { return Link(); });
    }

    bool Prepare() {
        host_.Begin();
        options_.lccPath = Replace(StripTrailingSlash(options_.lccPath), '/', '\\');
        options_.ktvPath = Replace(StripTrailingSlash(options_.ktvPath), '/', '\\');
        host_.ShowDirectories(options_.lccPath, options_.ktvPath);
        return true;
    }

    // Derive the run's names, enter its folder, make sure the Basic file is
    // there, and build the translator's command.
    bool CheckBasicFile() {
        const std::string& basicFile = options_.basicFile;
        if (HoldsCharacterOutsideCodePage(basicFile)) {
            Report(kPathOutsideCodePage);
            return false;
        }
        BuildNames names;
        names.baseName = GetBaseName(basicFile);
        names.folder = GetFolder(basicFile);
        names.fileName = GetFileName(basicFile);
        context_.names = names;
        namesDerived_ = true;
        problems_ = NoProblems(basicFile, names);

        if (!files_.FileExists(basicFile)) {
            Report(kBadBasicFilename);
            return false;
        }
        files_.ChangeDirectory(Names().folder);
        if (!files_.FileExists(basicFile)) {  // a relative name now counts from the folder
            Report(kBadBasicFilename);
            return false;
        }
        // The translator reads <base>.bas whatever extension the field names.
        const std::string basicPath = InFolder(Names().baseName + ".bas");
        if (!files_.FileExists(basicPath)) {
            Report(kBadBasicFilename);
            return false;
        }
        if (!host_.CheckMarker(basicPath)) {
            return false;
        }
        commandLine_ = TranslatorCommand(options_.ktvPath, Names());
        return true;
    }

    bool Translate() {
        RunTool("Translating " + Names().fileName);
        return true;
    }

    // The translator's problems, which all end the run, then the resource
    // compiler's presence.
    bool CheckTranslation() {
        ReadTranslatorProblems(files_, Names(), problems_);
        if (!problems_.problems.empty()) {
            host_.ReportProblems(problems_, true);
            return false;
        }
        const std::string& lccPath = options_.lccPath;
        commandLine_ = ResourceCommand(lccPath, Names());
        if (!files_.FileExists(ResourceCompilerPath(lccPath))) {
            Report(kMissingResourceCompiler);
            return false;
        }
        return true;
    }

    // Both runs on every build; a failed one only leaves the .res out of the link.
    bool CompileResources() {
        RunTool("Compiling resources");
        commandLine_ = DialogResourceCommand(options_.lccPath, Names());
        RunTool("Compiling resources");
        return true;
    }

    bool Compile() {
        commandLine_ = CompilerCommand(options_.lccPath, Names());
        RunTool("Compiling " + Names().baseName + ".c");
        host_.CompilerFinished();
        return true;
    }

    // The compiler's problems, then everything the link needs.
    bool CheckCompilation() {
        ReadCompilerProblems(files_, Names(), problems_);
        const bool ends = EndsTheBuild(problems_, options_.checkWarnings);
        if (!problems_.problems.empty()) {
            host_.ReportProblems(problems_, ends);
        }
        if (ends) {
            return false;
        }
        host_.SourceClean();

        const std::vector<std::string> libraries = SplitLibraryList(options_.libraries);
        for (const std::string& library : libraries) {
            if (!library.empty() && !files_.FileExists(library)) {
                Report(kMissingLibrary);
                return false;
            }
        }
        const std::string resourceFile = Names().baseName + ".res";
        resourceArgument_ = files_.FileExists(InFolder(resourceFile)) ? resourceFile : "";
        libraryArguments_ = LibraryArguments(libraries);
        target_ = LinkTargetFor(options_.linkMode, Names().baseName);
        return true;
    }

    Describe LinkerFailure() const {
        return [this](std::string_view) {
            return "Could not run Linker. " + std::string(kCrLf) + std::string(kCrLf) +
                   "Command was:" + std::string(kCrLf) + commandLine_;
        };
    }

    // The linker's exit code says nothing dependable, so the program it
    // should have written is looked at instead: it must be new or changed.
    // Its time is the file system's, which on a file server need not agree
    // with this machine's clock, so it is only compared with itself.
    bool Link() {
        commandLine_ = LinkerCommand(options_.lccPath, target_, Names().baseName, resourceArgument_,
                                     libraryArguments_);
        output_ = ExpectedOutputName(target_, Names().baseName);
        const std::optional<FileStamp> before = StampOf(InFolder(output_));
        RunTool(output_.empty() ? std::string("Linking") : "Linking " + output_);

        const std::optional<FileStamp> after = StampOf(InFolder(output_));
        if (!after || after == before) {
            Report("The linker did not produce " + output_ + "." + std::string(kCrLf) +
                   std::string(kCrLf) + "Command was:" + std::string(kCrLf) + commandLine_);
            return false;
        }
        return true;
    }

    // The command line built last, with the step it is shown as.
    void RunTool(std::string step) {
        context_.run.ShowStep(std::move(step));
        context_.platform.processes.RunHidden(commandLine_, context_.run.Stop());
    }

    std::optional<FileStamp> StampOf(const std::string& path) {
        try {
            return files_.Stamp(path);
        } catch (...) {
            return std::nullopt;
        }
    }

    DebugContext& context_;
    DebugOptions& options_;
    ToolChainHost& host_;
    FileSystem& files_;

    bool namesDerived_ = false;
    RunProblems problems_;
    std::string commandLine_;  // the one built last; the linker's failure shows it
    std::string resourceArgument_;
    std::string libraryArguments_;
    LinkTarget target_;
    std::string output_;
};

}  // namespace

void RunToolChain(DebugContext& context, ToolChainHost& host) {
    ToolChain(context, host).Execute();
}

}  // namespace ktv
