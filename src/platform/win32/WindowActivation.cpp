#include "platform/win32/WindowActivation.h"

#include "platform/win32/ThreadInputAttachment.h"

namespace ktv::win32 {
namespace {

struct WindowSearch {
    DWORD processId = 0;
    HWND unowned = nullptr;
    HWND owned = nullptr;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window)) {
        return TRUE;
    }
    if (::GetWindow(window, GW_OWNER) == nullptr) {
        search.unowned = window;
        return FALSE;  // windows come in z-order: the first unowned one wins
    }
    if (search.owned == nullptr) {
        search.owned = window;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId) {
    WindowSearch search{processId};
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.unowned != nullptr ? search.unowned : search.owned;
}

void BringToFront(HWND window) {
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == window) {
        return;
    }
    const DWORD foregroundThread =
        foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const ThreadInputAttachment attachment(::GetCurrentThreadId(), foregroundThread);
    // No ShowWindow here: a minimised window stays minimised, as it would
    // when the user picks it on the task bar with the keyboard.
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
}

}  // namespace ktv::win32
