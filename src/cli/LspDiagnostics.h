#pragma once

#include <map>
#include <set>
#include <string>

#include "cli/FileUris.h"
#include "cli/JsonRpc.h"
#include "debug/Problems.h"

namespace ktv {

// A build's problems as the protocol's diagnostics, by the URI of the file
// each belongs to (PlaceOf): the Basic file (at `basicUri`, the client's own
// spelling) for those led back, else the C file or the file the compiler
// named, at its line. Each covers its whole line (0-based), with severity
// error or warning, source "ktv" and the compiler's or translator's message.
// A named file without a folder ("win.h") cannot be found, so its problem
// stands on the C file's first line, with that file and line before the
// message.
std::map<std::string, Json> DiagnosticsByFile(const RunProblems& run, const std::string& basicUri,
                                              const TextConversions& text);

// The files each Basic file's last build published diagnostics for, so that
// the next build clears those it has nothing for.
class PublishedDiagnostics {
public:
    // The publishDiagnostics parameters that replace what the last build of
    // this Basic file published: each new list, then an empty list for each
    // file that had some and has none now.
    std::vector<Json> Replace(const std::string& basicKey, std::map<std::string, Json> byFile);

private:
    std::map<std::string, std::set<std::string>> filesOf_;
};

}  // namespace ktv
