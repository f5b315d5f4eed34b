#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The About box's caption, by which it is found on the screen.
inline constexpr const char* kAboutCaption = "About KTV Debugger";

// Shows the About box (the IDD_ABOUT dialog of the program's resources)
// modally over `owner`, centred on the screen each time; returns when the user
// has closed it ("Close", Enter, Esc or the close box).
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace ktv::win32
