#pragma once

#include "cli/CommandLineBuild.h"

namespace ktv::win32 {

// ktvbuild --lsp on the real machine: the language server on standard input
// and output, read and written as bytes (no text-mode line ends), with the
// system's text conversions, watching the client's process. The exit code.
int RunLanguageServer(const BuildArguments& options);

}  // namespace ktv::win32
