#pragma once

#include <string>

#include "debug/DebugContext.h"

namespace ktv {

// Each reader returns true when its error file reports nothing of its kind
// (the build goes on) and false when it has reported one problem to the user
// (the run ends). Malformed files throw; the build driver reports them.

// The translator's "ktv.err": the first line is the report, its last word the
// Basic line.
bool ShowBasicErrors(DebugContext& context, const std::string& errorFile);

// The C compiler's "lcc.err": the first error (warning) that leads back to a
// Basic line through the C file's line references is reported.
bool ShowCErrors(DebugContext& context, const std::string& errorFile);
bool ShowCWarnings(DebugContext& context, const std::string& errorFile);

}  // namespace ktv
