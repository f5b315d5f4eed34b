#pragma once

#include <string>

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// A visible top-level window of the process, an unowned one (a main window)
// before an owned one (a dialog or tool window); null when it has none.
HWND FindProcessWindow(DWORD processId);

// Makes the window the foreground window with the keyboard focus, leaving it
// minimised, maximised or normal as it was.
void BringToFront(HWND window);

}  // namespace ktv::win32
