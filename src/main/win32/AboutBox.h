#pragma once

#include <windows.h>

namespace ktv::win32 {

// Shows the About box modally over `owner`, centred on the screen; returns
// when the user has closed it.
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace ktv::win32
