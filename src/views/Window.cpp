#include "views/Window.h"

#include <exception>
#include <string>

#include "platform/Dpi.h"
#include "platform/win32/Dpi.h"
#include "text/Errors.h"

namespace ktv::win32 {

Window::~Window() {
    if (hwnd_ != nullptr) {
        // The object is going: no message may reach it any more.
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Window::CreateWindowOf(HINSTANCE instance, const ClassOptions& classOptions, DWORD exStyle,
                            DWORD style, const char* caption, const RECT& frame, HWND owner,
                            int childId) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.style = classOptions.style;
    windowClass.hCursor = ::LoadCursorA(nullptr, classOptions.cursor);
    windowClass.hIcon = classOptions.icon;
    windowClass.hIconSm = classOptions.smallIcon;
    windowClass.hbrBackground = classOptions.background;
    windowClass.lpszClassName = classOptions.name;
    // A second window of the class in the same process reuses it.
    if (::RegisterClassExA(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw Error(std::string("Cannot register the window class ") + classOptions.name);
    }
    ::CreateWindowExA(exStyle, classOptions.name, caption, style, frame.left, frame.top,
                      frame.right - frame.left, frame.bottom - frame.top, owner,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance, this);
    if (hwnd_ == nullptr) {
        throw Error(std::string("Cannot create the window \"") + caption + "\"");
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

void Window::OnDpiChanged(const RECT& suggested) {
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ReportFailure(const char* what) {
    char caption[256] = {};
    ::GetWindowTextA(hwnd_, caption, sizeof caption);
    ::MessageBoxA(hwnd_, what, caption, MB_OK | MB_ICONEXCLAMATION);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

int Window::Scale(int length) const {
    return ScaleForDpi(length, static_cast<int>(dpi_));
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Window*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        self->dpi_ = WindowDpi(hwnd);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        IgnoringFailure([&] { self->OnDestroyed(); });
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        if (message == WM_DPICHANGED) {
            self->dpi_ = HIWORD(wParam);
            self->OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& failure) {
        IgnoringFailure([&] { self->ReportFailure(failure.what()); });
    } catch (...) {
        IgnoringFailure([&] { self->ReportFailure("An unexpected failure occurred."); });
    }
    return 0;
}

}  // namespace ktv::win32
