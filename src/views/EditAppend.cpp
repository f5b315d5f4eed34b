#include "views/EditAppend.h"

namespace ktv::win32 {

void AppendToEdit(HWND edit, const std::string& text) {
    if (text.empty()) {
        return;
    }
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                   reinterpret_cast<LPARAM>(&selectionEnd));
    // The end is found from the length each time: EM_SETSEL with a start of -1
    // only drops the selection, leaving the caret wherever the user put it.
    const auto end = static_cast<DWORD>(::GetWindowTextLengthA(edit));
    const bool following = selectionStart == selectionEnd && selectionEnd == end;
    if (following) {
        ::SendMessageA(edit, EM_SETSEL, end, end);
        ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    // EM_REPLACESEL scrolls to the new text; put the view back where the user
    // was reading without showing the jump.
    const auto firstLine = static_cast<int>(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    ::SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(edit, EM_SETSEL, end, end);
    ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(edit, EM_SETSEL, selectionStart, selectionEnd);
    const auto nowFirst = static_cast<int>(::SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    ::SendMessageA(edit, EM_LINESCROLL, 0, firstLine - nowFirst);
    ::SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(edit, nullptr, TRUE);
}

void RemoveTextLimit(HWND edit) {
    ::SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
}

}  // namespace ktv::win32
