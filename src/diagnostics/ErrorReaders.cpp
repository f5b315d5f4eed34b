#include "diagnostics/ErrorReaders.h"

namespace ktv {

// SEAM: the error files are not read yet; the build goes on.
bool ShowBasicErrors(DebugContext&, const std::string&) { return true; }
bool ShowCErrors(DebugContext&, const std::string&) { return true; }
bool ShowCWarnings(DebugContext&, const std::string&) { return true; }

}  // namespace ktv
