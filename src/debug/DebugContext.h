#pragma once

#include <optional>
#include <string>

#include "debug/RunControl.h"
#include "platform/Platform.h"
#include "platform/WindowRef.h"

namespace ktv {

enum class LinkMode { Gui, Console, Dll };

// The editor a reported problem opens at its line: one of three steered by
// keys, or the user's own, started with its line on its command line.
enum class EditorChoice { None, Notepad, JFE, ConTEXT, MyEditor };

// Every setting a Debug run uses, as the main window holds it when Debug is
// pressed. A check box counts as on only when it is checked (state 1).
struct DebugOptions {
    std::string lccPath;
    std::string ktvPath;
    std::string basicFile;
    std::string libraries;  // separated by ";"
    std::string commandLine;
    std::optional<LinkMode> linkMode;  // a settings file can leave none selected
    EditorChoice editor = EditorChoice::None;
    std::string editorCommand;  // "my editor": a command with {file} and {line}
    bool checkWarnings = false;
    bool runProgram = false;
    bool debugInWedit = false;
};

// The names one press of Debug derives from the Basic file's path. They belong
// to the main window: empty at start, overwritten by each run whose derivation
// succeeds, otherwise keeping the last values.
struct BuildNames {
    std::string folder;    // without a final "\"
    std::string baseName;  // no folder, no extension
    std::string fileName;  // name with extension
};

// What the routines of a Debug run work with: the run's own copy of the
// options (the directories normalised once the run has begun), the names of
// the run, the platform, the main window as the owner of every box, and the
// run's steps and stop.
struct DebugContext {
    DebugOptions options;
    BuildNames& names;
    Platform& platform;
    WindowRef owner;
    RunControl& run;
};

}  // namespace ktv
