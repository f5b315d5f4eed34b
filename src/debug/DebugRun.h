#pragma once

#include "debug/DebugContext.h"

namespace ktv {

// One press of Debug: translator, resource compiler (twice), C compiler and
// linker, in turn, with the window locked and the hourglass up while the
// tools run. The first stage that reports a problem ends the run; a clean
// build shows "Success!" and runs the chosen post-build action. Every run,
// however it ends, removes the intermediate files and gives the window back.
// Every failure is reported in a box; nothing escapes.
void RunDebug(DebugContext& context, RunWindow& window);

}  // namespace ktv
