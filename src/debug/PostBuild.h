#pragma once

#include "debug/DebugContext.h"

namespace ktv {

// After a successful build of a program: open its C file in Wedit and drive
// Wedit into its debugger. Throws when a step fails; the driver reports it.
void OpenInWedit(DebugContext& context);

// After a successful build of a program: start it; a console program runs in a
// command window that stays open. Throws when it cannot be started.
void RunBuiltProgram(DebugContext& context);

// At the end of every run: deletes what exists of lcc.err, ktv.err and the
// run's object and resource files in the run's folder. Never throws.
void RemoveIntermediateFiles(DebugContext& context);

}  // namespace ktv
