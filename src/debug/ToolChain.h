#pragma once

#include <string>
#include <string_view>

#include "debug/DebugContext.h"
#include "debug/Problems.h"

namespace ktv {

// What differs between a Debug run in the window and a build from the command
// line: how the run shows itself, how the tools' reports reach the user and
// what a finished build leads to. The chain calls these in its order.
class ToolChainHost {
public:
    virtual ~ToolChainHost() = default;

    // Before any step; then the directories once normalised.
    virtual void Begin() = 0;
    virtual void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) = 0;

    // The Basic file, found, is about to be translated; false ends the run
    // (the host has told the user why).
    virtual bool CheckMarker(const std::string& basicPath) = 0;

    // The error files of the run so far hold problems, read once: after the
    // translator its own, after the compiler the compiler's too. `endsBuild`
    // (EndsTheBuild) says whether they end the run; the host reports them.
    virtual void ReportProblems(const RunProblems& problems, bool endsBuild) = 0;
    virtual void CompilerFinished() = 0;

    // The source is clean; the library check and the link follow.
    virtual void SourceClean() = 0;

    // A failure of the tool chain itself, in the words of the window's box.
    virtual void Failed(std::string_view text) = 0;

    // The run was stopped at the user's request (DebugContext::run): the
    // running tool and what it started are gone, and nothing more is done
    // or reported; the finish follows.
    virtual void Stopped() = 0;

    // The linker wrote the program or DLL at this full path.
    virtual void Built(const std::string& outputPath, bool dll) = 0;

    // The last call of every run, after the intermediate files are gone.
    virtual void End() = 0;
};

// Translator, resource compiler (twice), C compiler and linker, in turn, in
// the Basic file's folder, each shown as the run's step while it runs. The
// first step that fails or reports a problem ends the run, and so does a
// stop; every run, however it ends, removes the intermediate files. Nothing
// escapes: every failure reaches the host.
void RunToolChain(DebugContext& context, ToolChainHost& host);

}  // namespace ktv
