#pragma once

#include <functional>
#include <string>

#include "build/DebugContext.h"
#include "build/PostBuild.h"
#include "diagnostics/ErrorReaders.h"
#include "diagnostics/SourceMarkers.h"

namespace ktv {

// The routines of the diagnostics and post-build pieces that a Debug run
// calls. The program uses the defaults; a test hands in its own to watch the
// driver by itself.
struct DebugRoutines {
    using Check = std::function<bool(DebugContext&, const std::string& path)>;
    using Action = std::function<void(DebugContext&)>;

    Check insertSourceMarkers = InsertSourceMarkers;  // true: marker just added, stop
    Check showBasicErrors = ShowBasicErrors;          // false: reported, stop
    Check showCErrors = ShowCErrors;                  // false: reported, stop
    Check showCWarnings = ShowCWarnings;              // false: reported, stop
    Action openInWedit = OpenInWedit;
    Action runBuiltProgram = RunBuiltProgram;
    Action removeIntermediateFiles = RemoveIntermediateFiles;
};

// One press of Debug: translator, resource compiler (twice), C compiler and
// linker, in turn, with the window disabled and the hourglass up while the
// tools run. The first stage that reports a problem ends the run; a clean
// build shows "Success!" and runs the chosen post-build action. Every run,
// however it ends, removes the intermediate files and gives the window back.
// Every failure is reported in a box; nothing escapes.
void RunDebug(DebugContext& context, const DebugRoutines& routines = {});

}  // namespace ktv
