#pragma once

#include "platform/Desktop.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The work area (the screen less the task bar) of the monitor the window is
// on, or of the primary monitor for no window.
ScreenArea WorkAreaOf(HWND window);

// Moves the window, keeping its size, to the centre of the work area of the
// monitor its owner is on (the primary monitor for no owner).
void CentreOnOwnersMonitor(HWND window, HWND owner);

}  // namespace ktv::win32
