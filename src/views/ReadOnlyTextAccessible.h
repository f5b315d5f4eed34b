#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Answers WM_GETOBJECT for a window of read-only multi-line text that answers
// WM_GETTEXT (the output view), so that screen readers and automation tools
// find it as an edit box: for its client area, an accessible object of the
// role of text, read-only, named by the label window right before it or,
// without one, by the title of the window it belongs to,
// with the whole text as its value; the caret is the system's, which tells
// them where it is, and the edit box's line messages give its line.
//
// The accessibility DLLs are loaded when the first query arrives, not at
// start-up. Returns 0 for any other object, or when they cannot be had: the
// window then leaves the message to DefWindowProc.
LRESULT AnswerTextObjectQuery(HWND window, WPARAM flags, LPARAM objectId);

}  // namespace ktv::win32
