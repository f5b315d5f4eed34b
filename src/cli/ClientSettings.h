#pragma once

#include <string>
#include <vector>

#include "cli/CommandLineBuild.h"
#include "cli/FileUris.h"
#include "cli/JsonRpc.h"

namespace ktv {

// The build settings a language client gives (its initializationOptions, or
// the settings of workspace/didChangeConfiguration, whole or under "ktv"):
// lccPath, ktvPath, libraries (separated by ";"), linkMode ("gui",
// "console" or "dll"), warnings and insertMarker. Each one given overrides
// the settings file's, as ktvbuild's options do; null takes the override
// back; other names are passed over. A setting of the wrong kind, or a path
// the ANSI code page cannot hold, is left as it was and said why, in UTF-8.
std::vector<std::string> ApplyClientSettings(const Json& settings, BuildArguments& overrides,
                                             const TextConversions& text);

}  // namespace ktv
