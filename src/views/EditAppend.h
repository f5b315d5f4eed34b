#pragma once

#include "platform/win32/WinApi.h"

#include <string>

namespace ktv::win32 {

// Adds the text at the end of a multi-line edit box with EM_REPLACESEL, so the
// cost does not depend on the text already there. When the caret stands at
// the end the box follows the new text; when the user has put the caret or a
// selection elsewhere, they and the scroll position are kept.
void AppendToEdit(HWND edit, const std::string& text);

// Lifts the edit box's text limit to the largest there is, so long output is
// never cut off.
void RemoveTextLimit(HWND edit);

}  // namespace ktv::win32
