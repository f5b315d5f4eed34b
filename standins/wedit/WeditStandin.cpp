// Test and demo stand-in for LCC's Wedit editor: a plain window that writes
// what it was given and every key it receives to "wedit.log" in its working
// directory, so that tests can check how the debugger drives Wedit.
#include <windows.h>

#include <fstream>
#include <string>

#include "KeyNames.h"

namespace {

constexpr const char* kClassName = "KtvWeditStandin";
constexpr const char* kLogName = "wedit.log";

// Each line is appended and the file closed again at once, so that a test
// can read the log while the stand-in keeps running.
void Log(const std::string& line) {
    std::ofstream log(kLogName, std::ios::app | std::ios::binary);
    log << line << "\r\n";
}

LRESULT CALLBACK WeditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (const auto name = ktv::standins::KeyDownName(wParam)) {
                Log("key: " + *name);
            }
            break;
        case WM_CHAR:
            // Control characters (Enter, Tab, Ctrl+letter) were logged as keys.
            if (const auto name = ktv::standins::CharKeyName(wParam)) {
                Log("key: " + *name);
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Log(std::string("command line: ") + ::GetCommandLineA());
    Log("show: " + std::to_string(showCommand));

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WeditProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExA(&windowClass) == 0) {
        return 1;
    }
    HWND window =
        ::CreateWindowExA(0, kClassName, "Wedit (stand-in)", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
