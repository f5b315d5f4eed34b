#pragma once

#include "platform/win32/WinApi.h"

#include <string_view>

namespace ktv::win32 {

// Puts the text on the clipboard (CF_TEXT) for other programs to paste. False
// when the clipboard cannot be opened or will not take it; the clipboard then
// keeps what it had.
bool CopyTextToClipboard(HWND owner, std::string_view text);

}  // namespace ktv::win32
