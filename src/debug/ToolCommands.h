#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "debug/DebugContext.h"

namespace ktv {

// The command lines of the build's tools and the texts derived for the link.
// Every command is its pieces joined with nothing between them; the tools and
// the Basic file's path are quoted, the linker's file names are not (the
// linker runs in the run's folder and finds them there).

// "<ktv>\bin\ktvc.exe" "<folder>\<base>" -e
std::string TranslatorCommand(std::string_view ktvPath, const BuildNames& names);

// "<lcc>\bin\lrc.exe" "<folder>\<base>"
std::string ResourceCommand(std::string_view lccPath, const BuildNames& names);

// "<lcc>\bin\lrc.exe" "<folder>\<base>.dlg"
std::string DialogResourceCommand(std::string_view lccPath, const BuildNames& names);

// "<lcc>\bin\lcc.exe" "<folder>\<base>.c" -O -zP1 -errout=lcc.err
std::string CompilerCommand(std::string_view lccPath, const BuildNames& names);

// <lcc>\bin\lrc.exe, the file whose absence stops the build.
std::string ResourceCompilerPath(std::string_view lccPath);

// What the linker is asked to make.
struct LinkTarget {
    std::string subsystemSwitch;  // "-subsystem windows", "-subsystem console", "-dll" or empty
    std::string outputName;       // base + ".exe" or ".dll"; empty with no link mode

    bool IsDll() const { return subsystemSwitch == "-dll"; }
};

// The switch and output name for the selected link mode; both empty when no
// mode is selected.
LinkTarget LinkTargetFor(std::optional<LinkMode> mode, std::string_view baseName);

// The program the link should leave in the run's folder. With no link mode the
// linker gets no output name and names the program after the object file, and
// the run goes on as for a program: base + ".exe".
std::string ExpectedOutputName(const LinkTarget& target, std::string_view baseName);

// The library field split at every ";": empty text gives no entry, "a;;b"
// three entries, the middle one empty.
std::vector<std::string> SplitLibraryList(std::string_view libraries);

// Every entry, empty ones included, followed by one space.
std::string LibraryArguments(const std::vector<std::string>& libraries);

// "<lcc>\bin\lcclnk.exe" -o <output> <switch> -s <base>.obj <resource> <libraries>
std::string LinkerCommand(std::string_view lccPath, const LinkTarget& target,
                          std::string_view baseName, std::string_view resourceArgument,
                          std::string_view libraryArguments);

// The prompt of the "Success!" box. A DLL's prompt has no final line break.
std::string SuccessPrompt(std::string_view baseName, bool warningsChecked, bool dll);

}  // namespace ktv
