#pragma once

#include <windows.h>

// The banner bitmap's resource ID comes from the program's resource header;
// a build without it shows the box without a picture.
#if __has_include("app/resource.h")
#include "app/resource.h"
#endif
#ifndef IDB_ABOUT_BANNER
#define IDB_ABOUT_BANNER 201
#endif

namespace ktv::win32 {

// The About box's caption, by which it is found on the screen.
inline constexpr const char* kAboutCaption = "About KTV Debugger";

// Shows the About box modally over `owner`, centred on the screen; returns
// when the user has closed it ("Close", Enter, Esc or the close box).
void ShowAboutBox(HINSTANCE instance, HWND owner);

}  // namespace ktv::win32
