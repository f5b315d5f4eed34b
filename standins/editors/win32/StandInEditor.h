#pragma once

#include <windows.h>

#include "EditorProfile.h"

namespace ktv::standins::win32 {

// Runs one stand-in editor on the file named on the command line: a window
// with the file in a multi-line edit control, Ctrl+G for a go-to-line box,
// and a log of the command line, the show command and every key received.
// Returns the process exit code.
int RunStandInEditor(HINSTANCE instance, int showCommand, const EditorProfile& profile);

}  // namespace ktv::standins::win32
