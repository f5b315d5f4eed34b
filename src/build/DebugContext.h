#pragma once

#include "build/BuildRun.h"
#include "main/MainForm.h"
#include "platform/Platform.h"
#include "platform/WindowRef.h"

namespace ktv {

// What the routines of a Debug run work with: the main window's controls (the
// options are read from them at the moment of use), the names of the run, the
// platform, and the main window as the owner of every message box.
struct DebugContext {
    MainForm& form;
    BuildRun& run;
    Platform& platform;
    WindowRef owner = 0;
};

}  // namespace ktv
