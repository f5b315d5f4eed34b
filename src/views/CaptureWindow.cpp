#include "views/CaptureWindow.h"

#include "platform/win32/Dpi.h"
#include "platform/win32/Monitors.h"
#include "text/Errors.h"
#include "views/WindowFonts.h"

namespace ktv::win32 {
namespace {

constexpr const char* kClassName = "KTVCaptureWindow";
constexpr const char* kCaption = "Console Application Output.";

// Posted by the reading thread when output or its end is waiting.
constexpr UINT kOutputWaiting = WM_APP + 1;

// Shows what is waiting once kShowInterval has passed since the last time.
constexpr UINT_PTR kShowTimer = 1;

// The window's size at 96 dots per inch; scaled for the screen it opens on.
constexpr int kWidth = 720;
constexpr int kHeight = 460;
constexpr int kFontPoints = 10;

}  // namespace

CaptureWindow::CaptureWindow(HINSTANCE instance, ProcessCapture& capture,
                             std::function<void()> onDestroyed)
    : capture_(capture), onDestroyed_(std::move(onDestroyed)) {
    ClassOptions classOptions{kClassName};
    // The program's icon when its resources carry one, else the default.
    classOptions.icon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (classOptions.icon == nullptr) {
        classOptions.icon = ::LoadIconA(nullptr, IDI_APPLICATION);
    }
    classOptions.smallIcon = classOptions.icon;
    classOptions.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    // Made centred on the primary monitor, at its DPI.
    const int dpi = static_cast<int>(SystemDpi());
    const int width = ScaleForDpi(kWidth, dpi);
    const int height = ScaleForDpi(kHeight, dpi);
    const ScreenPoint at = CentredIn(WorkAreaOf(nullptr), width, height);
    CreateWindowOf(instance, classOptions, 0, WS_OVERLAPPEDWINDOW, kCaption,
                   RECT{at.x, at.y, at.x + width, at.y + height}, nullptr);
    outputView_ = std::make_unique<OutputView>(instance, Hwnd(), kOutputViewId);
    ApplyFont();
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    ::MoveWindow(outputView_->Hwnd(), 0, 0, client.right, client.bottom, FALSE);
}

CaptureWindow::~CaptureWindow() {
    // Ends a program still running and lets its reading thread go before the
    // window it wakes is gone.
    session_.reset();
}

void CaptureWindow::ShowAndRun(const std::string& cmd) {
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::UpdateWindow(Hwnd());
    RunInto(cmd, *outputView_);
}

void CaptureWindow::RunInto(const std::string& cmdLine, OutputView& target) {
    session_.reset();
    std::unique_ptr<CaptureSession> session;
    try {
        const HWND window = Hwnd();
        session = std::make_unique<CaptureSession>(
            capture_, cmdLine, [window] { ::PostMessageA(window, kOutputWaiting, 0, 0); });
    } catch (const StartFailed&) {
        return;  // nothing was started: the target keeps its text
    }
    target_ = &target;
    target_->SetText("");
    session_ = std::move(session);
}

void CaptureWindow::OnOutputWaiting() {
    // Until the output is taken, the reading thread wakes the window no more:
    // it gathers what arrives meanwhile, so a flood of output costs one
    // append and one repaint per interval, not one per read.
    const auto since = Clock::now() - lastShown_;
    if (since >= kShowInterval) {
        ShowArrivedOutput();
    } else if (!showTimerSet_) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(kShowInterval - since);
        showTimerSet_ =
            ::SetTimer(Hwnd(), kShowTimer, static_cast<UINT>(wait.count()), nullptr) != 0;
        if (!showTimerSet_) {
            ShowArrivedOutput();  // no timer to be had: show it now
        }
    }
}

void CaptureWindow::ShowArrivedOutput() {
    if (!session_) {
        return;  // a wake from a session already replaced or ended
    }
    lastShown_ = Clock::now();
    const CaptureUpdate update = session_->TakeUpdate();
    target_->Append(update.text);
    if (update.ended) {
        session_.reset();
    }
}

void CaptureWindow::ApplyFont() {
    // Console output lines up in columns: a fixed-pitch font.
    UniqueFont font = CreateFixedPitchFont(kFontPoints, Dpi());
    if (!font) {
        return;  // keep the font the box has
    }
    ::SendMessageA(outputView_->Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);  // the old font is deleted only once the box no longer uses it
}

void CaptureWindow::OnDpiChanged(const RECT& suggested) {
    ApplyFont();
    Window::OnDpiChanged(suggested);
}

void CaptureWindow::OnDestroyed() {
    if (onDestroyed_) {
        onDestroyed_();
    }
}

LRESULT CaptureWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (outputView_) {  // not while the window itself is being made
                ::MoveWindow(outputView_->Hwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            }
            return 0;
        case WM_SETFOCUS:
            if (outputView_) {
                ::SetFocus(outputView_->Hwnd());
            }
            return 0;
        case kOutputWaiting:
            OnOutputWaiting();
            return 0;
        case WM_TIMER:
            if (wParam == kShowTimer) {
                ::KillTimer(Hwnd(), kShowTimer);
                showTimerSet_ = false;
                ShowArrivedOutput();
            }
            return 0;
        case WM_DESTROY:
            // Ends a program still running and lets its reading thread go
            // before the window it wakes is gone.
            session_.reset();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace ktv::win32
