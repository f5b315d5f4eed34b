#include "build/PostBuild.h"

namespace ktv {

// SEAM: the post-build actions are not built yet.
void OpenInWedit(DebugContext&) {}
void RunBuiltProgram(DebugContext&) {}
void RemoveIntermediateFiles(DebugContext&) {}

}  // namespace ktv
