#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/WinApi.h"
#include "text/CodePage.h"

namespace ktv::win32 {

// Text in the ANSI code page, which the program's -A calls, its files and the
// KTV and LCC tools use, and the UTF-16 that the windows, the dialogs, the
// console, the accessibility interfaces and the shell's command line use.

// The lead bytes of the Windows code page with this number, as the system
// knows them; GetACP() gives the one the program's text is in.
CodePage WindowsCodePage(UINT number);

std::wstring WideFromAnsi(std::string_view text);

// The text in the ANSI code page, or nothing when a character has no form
// there. No look-alike stands in (Windows would make Ł an L): a path given
// so would name another file.
std::optional<std::string> ExactAnsi(std::wstring_view text);

// The text in the ANSI code page with '?' for each character it has no form
// for, never a look-alike. No file name holds a '?', so a path given so is
// known to be one the tools cannot take.
std::string AnsiFromWide(std::wstring_view text);

// A window's text (a control's, across processes too), as it is and as
// AnsiFromWide gives it.
std::wstring WindowTextWide(HWND window);
std::string WindowTextAnsi(HWND window);

}  // namespace ktv::win32
