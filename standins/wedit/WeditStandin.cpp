// Test and demo stand-in for LCC's Wedit editor: a plain window that writes
// what it was given and every key it receives to "wedit.log" in its working
// directory, so that tests can check how the debugger drives Wedit.
#include <windows.h>

#include <array>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

#include "platform/KeyText.h"

namespace {

constexpr const char* kClassName = "KtvWeditStandin";
constexpr const char* kLogName = "wedit.log";

// Each line is appended and the file closed again at once, so that a test
// can read the log while the stand-in keeps running.
void Log(const std::string& line) {
    std::ofstream log(kLogName, std::ios::app | std::ios::binary);
    log << line << "\r\n";
}

constexpr std::array kNamedKeys{
    std::pair{VK_RETURN, ktv::NamedKey::Enter},  std::pair{VK_TAB, ktv::NamedKey::Tab},
    std::pair{VK_ESCAPE, ktv::NamedKey::Escape}, std::pair{VK_BACK, ktv::NamedKey::Backspace},
    std::pair{VK_DELETE, ktv::NamedKey::Delete}, std::pair{VK_INSERT, ktv::NamedKey::Insert},
    std::pair{VK_HOME, ktv::NamedKey::Home},     std::pair{VK_END, ktv::NamedKey::End},
    std::pair{VK_PRIOR, ktv::NamedKey::PageUp},  std::pair{VK_NEXT, ktv::NamedKey::PageDown},
    std::pair{VK_UP, ktv::NamedKey::Up},         std::pair{VK_DOWN, ktv::NamedKey::Down},
    std::pair{VK_LEFT, ktv::NamedKey::Left},     std::pair{VK_RIGHT, ktv::NamedKey::Right},
    std::pair{VK_F1, ktv::NamedKey::F1},         std::pair{VK_F2, ktv::NamedKey::F2},
    std::pair{VK_F3, ktv::NamedKey::F3},         std::pair{VK_F4, ktv::NamedKey::F4},
    std::pair{VK_F5, ktv::NamedKey::F5},         std::pair{VK_F6, ktv::NamedKey::F6},
    std::pair{VK_F7, ktv::NamedKey::F7},         std::pair{VK_F8, ktv::NamedKey::F8},
    std::pair{VK_F9, ktv::NamedKey::F9},         std::pair{VK_F10, ktv::NamedKey::F10},
    std::pair{VK_F11, ktv::NamedKey::F11},       std::pair{VK_F12, ktv::NamedKey::F12},
};

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

ktv::KeyStroke WithModifiers() {
    ktv::KeyStroke stroke;
    stroke.ctrl = Held(VK_CONTROL);
    stroke.shift = Held(VK_SHIFT);
    stroke.alt = Held(VK_MENU);
    return stroke;
}

// A key press as the key text would name it: named keys here; letters and
// digits here only with Ctrl or Alt, since plain ones arrive as characters.
std::optional<ktv::KeyStroke> StrokeOfKeyDown(WPARAM virtualKey) {
    ktv::KeyStroke stroke = WithModifiers();
    for (const auto& [code, key] : kNamedKeys) {
        if (static_cast<WPARAM>(code) == virtualKey) {
            stroke.key = key;
            return stroke;
        }
    }
    const bool letterOrDigit =
        (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    if (letterOrDigit && (stroke.ctrl || stroke.alt)) {
        stroke.key = static_cast<char>(::tolower(static_cast<int>(virtualKey)));
        return stroke;
    }
    return std::nullopt;
}

LRESULT CALLBACK WeditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (const auto stroke = StrokeOfKeyDown(wParam)) {
                Log("key: " + ktv::DescribeKeyStroke(*stroke));
            }
            break;
        case WM_CHAR:
            // Control characters (Enter, Tab, Ctrl+letter) were logged as keys.
            if (static_cast<unsigned char>(wParam) >= 0x20 && !Held(VK_CONTROL) && !Held(VK_MENU)) {
                ktv::KeyStroke stroke;
                stroke.key = static_cast<char>(wParam);
                Log("key: " + ktv::DescribeKeyStroke(stroke));
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
