#include "console/win32/CaptureWindow.h"

#include <exception>

#include "console/win32/EditAppend.h"
#include "main/ControlIds.h"
#include "platform/Errors.h"

namespace ktv::win32 {

namespace {

constexpr const char* kClassName = "KTVCaptureWindow";
constexpr const char* kCaption = "Console Application Output.";

// Posted by the reading thread when output or its end is waiting.
constexpr UINT kOutputWaiting = WM_APP + 1;

// The window's size at 96 dots per inch; scaled for the screen it opens on.
constexpr int kWidth = 720;
constexpr int kHeight = 460;
constexpr int kFontPoints = 10;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    if (::GetClassInfoExA(instance, kClassName, &windowClass)) {
        return;
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    // The program's icon when its resources carry one, else the default.
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (windowClass.hIcon == nullptr) {
        windowClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    }
    windowClass.hIconSm = windowClass.hIcon;
    if (!::RegisterClassExA(&windowClass)) {
        throw Error("Cannot register the output window's class");
    }
}

}  // namespace

CaptureWindow::CaptureWindow(HINSTANCE instance, ProcessCapture& capture,
                             std::function<void()> onDestroyed)
    : capture_(capture), onDestroyed_(std::move(onDestroyed)) {
    RegisterWindowClass(instance, &CaptureWindow::WindowProc);
    const UINT dpi = ::GetDpiForSystem();
    const int width = ::MulDiv(kWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    const int height = ::MulDiv(kHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    // Centred on the screen as it loads; a window larger than the screen
    // starts above and left of it, as the formula gives.
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::CreateWindowExA(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, left, top, width, height,
                      nullptr, nullptr, instance, this);
    if (window_ == nullptr || text2_ == nullptr) {
        if (window_ != nullptr) {
            ::DestroyWindow(window_);
        }
        throw Error("Cannot create the output window");
    }
}

CaptureWindow::~CaptureWindow() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

void CaptureWindow::Redir(const std::string& cmd) {
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    Redirect(cmd, text2_);
}

void CaptureWindow::Redirect(const std::string& cmdLine, HWND target) {
    session_.reset();
    std::unique_ptr<CaptureSession> session;
    try {
        const HWND window = window_;
        session = std::make_unique<CaptureSession>(
            capture_, cmdLine, [window] { ::PostMessageA(window, kOutputWaiting, 0, 0); });
    } catch (const StartFailed&) {
        return;  // nothing was started: the target keeps its text
    }
    target_ = target;
    RemoveTextLimit(target_);
    ::SetWindowTextA(target_, "");
    session_ = std::move(session);
}

void CaptureWindow::ShowArrivedOutput() {
    if (!session_) {
        return;  // a wake from a session already replaced or ended
    }
    const CaptureUpdate update = session_->TakeUpdate();
    AppendToEdit(target_, update.text);
    if (update.ended) {
        session_.reset();
    }
}

void CaptureWindow::OnCreate() {
    text2_ = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, "EDIT", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL |
            ES_READONLY,
        0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kCaptureText)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(window_, GWLP_HINSTANCE)), nullptr);
    if (text2_ == nullptr) {
        return;
    }
    RemoveTextLimit(text2_);
    ApplyDpi(::GetDpiForWindow(window_));
}

void CaptureWindow::ApplyDpi(UINT dpi) {
    // Console output lines up in columns: a fixed-pitch font.
    UniqueFont font(::CreateFontA(-::MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0,
                                  FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  FIXED_PITCH | FF_MODERN, "Consolas"));
    if (font.Get() == nullptr) {
        return;  // keep the font the box has
    }
    ::SendMessageA(text2_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);  // the old font is deleted only once the box no longer uses it
}

LRESULT CALLBACK CaptureWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CaptureWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CaptureWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ::MessageBoxA(window, error.what(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        ::MessageBoxA(window, "Unexpected failure", kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    return 0;
}

LRESULT CaptureWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return text2_ != nullptr ? 0 : -1;
        case WM_SIZE:
            ::MoveWindow(text2_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            ::SetFocus(text2_);
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ApplyDpi(HIWORD(wParam));
            ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case kOutputWaiting:
            ShowArrivedOutput();
            return 0;
        case WM_DESTROY:
            // Ends a program still running and lets its reading thread go
            // before the window it wakes is gone.
            session_.reset();
            return 0;
        case WM_NCDESTROY: {
            const HWND window = window_;
            ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            text2_ = nullptr;
            if (onDestroyed_) {
                onDestroyed_();
            }
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        default:
            return ::DefWindowProcA(window_, message, wParam, lParam);
    }
}

}  // namespace ktv::win32
