#pragma once

#include <string>
#include <string_view>

#include "debug/DebugContext.h"

namespace ktv {

// Makes sure the Basic file carries a "$SOURCE" line, so that the translator
// writes Basic line references into the C file. Returns false when the file
// already has one (the build goes on); true when the line was just added, the
// user told and JFE started on the file (the run ends here). Throws when the
// file cannot be read or written.
bool InsertSourceMarkers(DebugContext& context, const std::string& basicPath);

// Whether a Basic file's text has the marker line, and the text with one put
// on top (every line then ended by CR LF).
bool HasMarkerLine(std::string_view text);
std::string WithMarkerLine(std::string_view text);

// Brings a JFE window that shows the Basic file to the front, trying its four
// possible titles; does nothing when there is none.
void ActivateJfeWindow(DebugContext& context);

}  // namespace ktv
