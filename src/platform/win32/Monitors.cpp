#include "platform/win32/Monitors.h"

namespace ktv::win32 {

ScreenArea WorkAreaOf(HWND window) {
    const HMONITOR monitor = window != nullptr
                                 ? ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                 : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !::GetMonitorInfoA(monitor, &info)) {
        return ScreenArea{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    const RECT& work = info.rcWork;
    return ScreenArea{work.left, work.top, work.right - work.left, work.bottom - work.top};
}

void CentreOnOwnersMonitor(HWND window, HWND owner) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const ScreenPoint at =
        CentredIn(WorkAreaOf(owner), frame.right - frame.left, frame.bottom - frame.top);
    if (at.x != frame.left || at.y != frame.top) {  // each move costs a round trip under Wine
        ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace ktv::win32
