// The floor of the start-up benchmark: KTV Debugger's window with the same
// controls and labels, made the same way (the same fonts, measured layout
// and control table), and nothing else: no settings, no banner, no model.
// What any window of this kind costs before it shows.

#include <windows.h>
#include <commctrl.h>

#include "model/MainWindowLayout.h"
#include "platform/win32/Dpi.h"
#include "views/MainWindowControls.h"
#include "views/MainWindowMetrics.h"
#include "views/WindowFonts.h"

namespace {

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace ktv::win32;
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &FloorProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "ControlsFloor";
    ::RegisterClassA(&windowClass);

    const UINT dpi = SystemDpi();
    const WindowFonts fonts = CreateWindowFonts(dpi);
    const ktv::MainWindowLayout layout = ktv::LayOutMainWindow(MeasureMainWindow(fonts, dpi));
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const RECT frame =
        FrameAroundClient(RECT{0, 0, layout.clientWidth, layout.clientHeight}, style, 0, dpi);
    HWND window = ::CreateWindowExA(0, "ControlsFloor", "Controls Floor", style | WS_CLIPCHILDREN,
                                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    CreateChildControls(window, instance, layout, fonts);
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageA(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return 0;
}
