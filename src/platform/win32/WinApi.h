#pragma once

// The one way Win32 code of this program includes <windows.h>.
#include <windows.h>

// The platform interfaces have methods called MessageBox and DeleteFile.
// <windows.h> defines both names as macros for their A/W forms, which would
// silently rename those methods in any file that sees the macros. Win32 code
// here calls the A forms by their full names instead.
#undef MessageBox
#undef DeleteFile
