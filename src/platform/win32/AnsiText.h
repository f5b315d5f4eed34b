#pragma once

#include <string>
#include <string_view>

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The program's text is in the ANSI code page, as the KTV and LCC tools take
// it; the windows and dialogs hold UTF-16.

// UTF-16 text in the ANSI code page. A character the code page has no byte
// for becomes "?", never a look-alike (Windows' "best fit" would make "Ł" an
// "L" and so name another file).
std::string AnsiFromWide(std::wstring_view text);

std::wstring WideFromAnsi(std::string_view text);

// A window's text (a control's, across processes too), as AnsiFromWide gives it.
std::string WindowTextAnsi(HWND window);

}  // namespace ktv::win32
