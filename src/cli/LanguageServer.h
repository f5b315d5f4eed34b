#pragma once

#include <functional>

#include "cli/CommandLineBuild.h"
#include "cli/FileUris.h"
#include "cli/LspFrames.h"
#include "platform/Platform.h"

namespace ktv {

// What the language server needs of the machine it runs on.
struct LanguageServerSystem {
    Platform& platform;
    TextConversions text;
    // Watches the client's process (the initialize request's processId):
    // `gone` is to be called, on any thread, once it has ended, or at once
    // when there is no such process. It stops the builds; the program ends
    // after it.
    std::function<void(long long processId, std::function<void()> gone)> watchClient;
};

// ktvbuild --lsp: a language server over `in` and `out` (JSON-RPC 2.0 with
// Content-Length framing, LSP 3.17) until the input ends or the client says
// exit. It builds each .bas file the client opens or saves, as ktvbuild
// does with `options` (which the client's settings override in turn), and
// publishes the build's problems as diagnostics; a save during a build of
// the same file stops that build and starts another. Returns the exit code:
// 0 after shutdown and exit, 1 otherwise.
int ServeLanguageClient(ByteSource& in, ByteSink& out, LanguageServerSystem& system,
                        const BuildArguments& options = {});

}  // namespace ktv
