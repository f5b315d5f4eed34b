#pragma once

#include "debug/DebugContext.h"
#include "debug/Problems.h"

namespace ktv {

// The one problem a Debug run's box reports, taken from the run's list, and
// the editor sent to its Basic line. Each returns true when the list holds no
// problem of its kind (the build goes on) and false when it has reported one
// (the run ends).

// The translator's first line, whole; its last word is the Basic line.
bool ShowBasicErrors(DebugContext& context, const RunProblems& run);

// The first compiler error (warning) that leads back to a Basic line; when
// none does, the last one with a checklist, or the first one of the C file at
// once when there is no C file. A line about another file (a header) is
// passed over as one that cannot be led back. Throws FormatError for a line
// of the C file it meets that cannot be read whole.
bool ShowCErrors(DebugContext& context, const RunProblems& run);
bool ShowCWarnings(DebugContext& context, const RunProblems& run);

}  // namespace ktv
