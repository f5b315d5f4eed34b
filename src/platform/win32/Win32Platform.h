#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"

namespace ktv::win32 {

// The real platform: owns every Win32 implementation and hands them out as
// the portable Platform. The program makes one and keeps it for its lifetime;
// its windows ask desktop.IsBusy() on WM_SETCURSOR.
class Win32Platform {
public:
    Win32Desktop desktop;
    // A tool's wait handles the window messages as DoEvents does.
    Win32Processes processes{[this] { desktop.DoEvents(); }};
    Win32FileSystem files;
    Win32Registry registry;
    Win32SystemInfo system;

    Platform Get() { return Platform{processes, desktop, files, registry, system}; }
};

}  // namespace ktv::win32
