// Test helper: a top-level window with a given title that writes every key
// stroke it receives to a log file, one DescribeKeyStroke name per line.
//   test_keylog_window.exe <title> <log file>
// Keys are logged from WM_KEYDOWN with the modifier state of that moment, so
// the log shows what a program reading keys would see. A navigation key that
// arrives without the extended-key flag is logged with a "Numpad" prefix.
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/KeyText.h"
#include "platform/win32/WinApi.h"

namespace {

struct LoggedKey {
    UINT code;
    ktv::NamedKey key;
    bool extended;  // sits on the extended part of the keyboard
};

constexpr LoggedKey kNamedKeys[] = {
    {VK_RETURN, ktv::NamedKey::Enter, false},  {VK_TAB, ktv::NamedKey::Tab, false},
    {VK_ESCAPE, ktv::NamedKey::Escape, false}, {VK_BACK, ktv::NamedKey::Backspace, false},
    {VK_HOME, ktv::NamedKey::Home, true},      {VK_END, ktv::NamedKey::End, true},
    {VK_LEFT, ktv::NamedKey::Left, true},      {VK_RIGHT, ktv::NamedKey::Right, true},
    {VK_UP, ktv::NamedKey::Up, true},          {VK_DOWN, ktv::NamedKey::Down, true},
    {VK_DELETE, ktv::NamedKey::Delete, true},  {VK_F5, ktv::NamedKey::F5, false},
    {VK_F9, ktv::NamedKey::F9, false},
};

std::string Describe(WPARAM code, LPARAM flags) {
    ktv::KeyStroke stroke;
    stroke.ctrl = ::GetKeyState(VK_CONTROL) < 0;
    stroke.shift = ::GetKeyState(VK_SHIFT) < 0;
    stroke.alt = ::GetKeyState(VK_MENU) < 0;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        stroke.key = static_cast<char>(code >= 'A' && code <= 'Z' ? code - 'A' + 'a' : code);
        return ktv::DescribeKeyStroke(stroke);
    }
    if (code == VK_SPACE) {
        stroke.key = ' ';
        return ktv::DescribeKeyStroke(stroke);
    }
    const bool extended = (flags & (1 << 24)) != 0;
    for (const LoggedKey& known : kNamedKeys) {
        if (known.code == code) {
            stroke.key = known.key;
            const std::string name = ktv::DescribeKeyStroke(stroke);
            return known.extended && !extended ? "Numpad" + name : name;
        }
    }
    return "VK" + std::to_string(code);
}

// The log's path travels with the window (GWLP_USERDATA), handed over at
// creation.
const std::string* LogPathOf(HWND window) {
    return reinterpret_cast<const std::string*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam != VK_SHIFT && wParam != VK_CONTROL && wParam != VK_MENU &&
                LogPathOf(window) != nullptr) {
                std::ofstream(*LogPathOf(window), std::ios::app | std::ios::binary)
                    << Describe(wParam, lParam) << "\r\n";
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (__argc < 3) {
        return 2;
    }
    std::string logPath = __argv[2];
    std::ofstream(logPath, std::ios::trunc | std::ios::binary);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "KtvKeyLogWindow";
    ::RegisterClassA(&windowClass);
    const HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, __argv[1],
                                          WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                                          200, nullptr, nullptr, instance, &logPath);
    if (window == nullptr) {
        return 1;
    }
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);

    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
