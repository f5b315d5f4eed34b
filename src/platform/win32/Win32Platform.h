#pragma once

// The real platform: one object that owns every Win32 implementation and
// hands them out as the portable Platform.
//
// Members (declared by the platform layer's own headers):
//   Win32Processes processes; Win32Desktop desktop; Win32FileSystem files;
//   Win32Registry registry; Win32SystemInfo system;
//   Platform Get();
// Win32Desktop::IsBusy() tells a window's WM_SETCURSOR whether to show the
// hourglass.
