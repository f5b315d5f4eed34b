#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "debug/DebugContext.h"
#include "debug/ToolChain.h"
#include "platform/Platform.h"

namespace ktv {

// What "ktvbuild [options] FILE.bas" asks for. Each option given overrides
// the window's setting for this run only.
struct BuildArguments {
    std::string basicFile;
    std::optional<std::string> lccPath;
    std::optional<std::string> ktvPath;
    std::optional<std::string> libraries;
    std::optional<LinkMode> linkMode;
    std::optional<bool> checkWarnings;
    bool insertMarker = false;
    bool help = false;
    bool languageServer = false;  // --lsp: the options are the server's, for every build
};

extern const char* const kBuildUsage;

// Throws InvalidArgument, saying what is wrong, for an unknown option, an
// option without its value, no Basic file or more than one (none with --lsp).
BuildArguments ParseBuildArguments(const std::vector<std::string>& arguments);

// The options of a build from outside the window: the window's settings, as
// its settings file holds them, with the arguments' overrides. Throws
// FileError, saying which file and why, when the settings cannot be read.
DebugOptions BuildOptions(const BuildArguments& arguments, Platform& platform);

// Whether the Basic file holds the $SOURCE line, without which C problems
// cannot be led back to Basic lines; with `insert`, a file without it gets it
// added. Throws FileError, saying why, when that fails.
enum class MarkerLine { Present, Missing, Inserted };
MarkerLine CheckMarkerLine(FileSystem& files, const std::string& basicPath, bool insert);

// Exit codes: the program or DLL was built; the source has errors (or
// warnings, when they are checked); anything else kept it from being built.
enum BuildExit { kBuilt = 0, kSourceProblems = 1, kNotBuilt = 2 };

// Builds the Basic file (its path absolute) with the window's settings and
// the arguments' overrides, as Debug does but without a window: every problem
// as one "PATH:LINE: KIND: MESSAGE" line on `out`, then "ktvbuild: built
// PATH", or "ktvbuild: error: TEXT" when the tool chain fails. Notes go to
// `notes`, among them "ktvbuild: stopped" when `run` was asked to stop (the
// tools then end, the intermediate files go, and the build is not built).
BuildExit RunCommandLineBuild(const BuildArguments& arguments, Platform& platform, RunControl& run,
                              std::ostream& out, std::ostream& notes);

// The host of a build without a window (ktvbuild's, the language server's):
// the steps only a window shows are passed over.
class WindowlessHost : public ToolChainHost {
    void Begin() override {}
    void ShowDirectories(const std::string&, const std::string&) override {}
    void CompilerFinished() override {}
    void SourceClean() override {}
    void End() override {}
};

// Why a path cannot be built: the KTV translator and the LCC tools take paths
// in the ANSI code page only, and this one holds characters that the code
// page lacks. In UTF-16 or UTF-8, the only forms that show such a path as it is.
std::wstring UnwritablePathMessage(std::wstring_view path, unsigned ansiCodePage);
std::string UnwritablePathMessage(std::string_view utf8Path, unsigned ansiCodePage);

}  // namespace ktv
