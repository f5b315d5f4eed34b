// KTVCapture.exe: shows the output capture window and runs the program's own
// arguments in it as one command line. Without arguments the window stays
// empty.
#include "platform/win32/WinApi.h"

#include <exception>

#include "console/CommandArguments.h"
#include "platform/win32/Win32ProcessCapture.h"
#include "views/CaptureWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    try {
        ktv::win32::Win32ProcessCapture capture;
        ktv::win32::CaptureWindow window(instance, capture, [] { ::PostQuitMessage(0); });
        ::ShowWindow(window.Hwnd(), show);
        window.ShowAndRun(ktv::ArgumentsAfterProgramName(::GetCommandLineA()));
        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        return 0;
    } catch (const std::exception& error) {
        ::MessageBoxA(nullptr, error.what(), "Console Application Output.",
                      MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
}
