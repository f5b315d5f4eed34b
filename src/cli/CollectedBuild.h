#pragma once

#include <string>

#include "cli/CommandLineBuild.h"
#include "debug/Problems.h"

namespace ktv {

// How one build from outside the window ended, kept for whoever reports it
// as a whole once it is over (the language server).
struct BuildOutcome {
    RunProblems problems;  // every problem the error files held (none: none were read)
    std::string failure;   // the box's text, when the tool chain itself failed
    std::string built;     // the program or DLL, when one was built
    bool stopped = false;  // stopped on request: nothing else counts
    MarkerLine marker = MarkerLine::Present;
};

// The build ktvbuild runs, with the same settings and overrides, its outcome
// kept instead of printed. Never throws.
BuildOutcome RunCollectedBuild(const BuildArguments& arguments, Platform& platform,
                               RunControl& run);

}  // namespace ktv
