#include "main/win32/AboutBox.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "main/ControlIds.h"
#include "platform/win32/GdiObjects.h"

namespace ktv::win32 {
namespace {

constexpr const char* kClassName = "KtvAboutBox";

// Sizes at 96 dots per inch; they grow with the screen's DPI.
constexpr int kBannerWidth = 301;
constexpr int kBannerHeight = 60;
constexpr int kMargin = 12;
constexpr int kLineGap = 4;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

struct Label {
    int id;
    std::string_view text;
    bool underlined;
};

// Label1 to Label4, in tab order.
constexpr std::array<Label, 4> kLabels{{
    {1511, "KTV Debugger builds a KTV Basic program with one button", false},
    {1512, "and leads each C compiler error back to its Basic line.", false},
    {1513, "Made for the users of the KTV translator and the LCC tools.", false},
    {1514, "Questions and bug reports: the KTV Basic users' forum", true},
}};

// What the window procedure needs while the box is up.
struct AboutState {
    HBITMAP banner = nullptr;  // null when the resource is missing
    SIZE bannerSize{};         // on screen, scaled to the DPI
    bool open = true;
};

// The screen's device context, for measuring text and reading the DPI.
class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { ::ReleaseDC(nullptr, dc_); }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Destroys the window when the scope ends, unless it is gone already.
class UniqueWindow {
public:
    explicit UniqueWindow(HWND window) : window_(window) {}
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() {
        if (window_ != nullptr && ::IsWindow(window_)) {
            ::DestroyWindow(window_);
        }
    }
    HWND Get() const { return window_; }

private:
    HWND window_;
};

// Disables the owner while the box is up, the way a modal dialog does, and
// enables it again (unless it was disabled before) before the box goes, so
// that the owner and not some other program becomes active.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner)
        : owner_(owner), wasDisabled_(owner != nullptr && ::EnableWindow(owner, FALSE) != 0) {}
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;
    ~DisabledOwner() {
        if (owner_ != nullptr && !wasDisabled_) {
            ::EnableWindow(owner_, TRUE);
            ::SetActiveWindow(owner_);
        }
    }

private:
    HWND owner_;
    bool wasDisabled_;
};

int Scale(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, 96);
}

void PaintBanner(HWND window, const AboutState& state) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (state.banner != nullptr) {
        HDC memory = ::CreateCompatibleDC(dc);
        if (memory != nullptr) {
            BITMAP info{};
            ::GetObjectA(state.banner, sizeof info, &info);
            {
                SelectedObject selected(memory, state.banner);
                ::SetStretchBltMode(dc, HALFTONE);
                ::StretchBlt(dc, 0, 0, state.bannerSize.cx, state.bannerSize.cy, memory, 0, 0,
                             info.bmWidth, info.bmHeight, SRCCOPY);
            }
            ::DeleteDC(memory);
        }
    }
    ::EndPaint(window, &paint);
}

// Ends the modal loop. The loop only checks `open` when GetMessage returns,
// which it does for posted messages alone: a close that arrives as a sent
// message (BM_CLICK from another thread or program) would otherwise leave the
// box waiting for the next mouse move, so a null message is posted to wake it.
void EndAboutBox(HWND window, AboutState& state) {
    state.open = false;
    ::PostMessageA(window, WM_NULL, 0, 0);
}

bool IsCloseCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    return id == IDOK || id == IDCANCEL || id == ids::kAboutClose;
}

LRESULT CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<AboutState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state == nullptr) {
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_PAINT:
            PaintBanner(window, *state);
            return 0;
        case WM_COMMAND:
            if (IsCloseCommand(wParam)) {
                EndAboutBox(window, *state);
            }
            return 0;
        case WM_CLOSE:
            // The modal loop ends and destroys the window after enabling the
            // owner.
            EndAboutBox(window, *state);
            return 0;
        case DM_GETDEFID:
            // Enter presses "Close" wherever the focus is.
            return MAKELRESULT(ids::kAboutClose, DC_HASDEFID);
        default:
            return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterAboutClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = AboutProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The message font of the system, which is the font dialogs use; at the
// screen's DPI for a DPI-aware program.
LOGFONTA MessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return metrics.lfMessageFont;
    }
    LOGFONTA fallback{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    return fallback;
}

struct Layout {
    SIZE client{};
    int lineHeight = 0;
    int firstLine = 0;
    RECT button{};
};

Layout ComputeLayout(HFONT font, int dpi, SIZE banner) {
    ScreenDc screen;
    SelectedObject selected(screen.Get(), font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(screen.Get(), &metrics);
    int widest = 0;
    for (const Label& label : kLabels) {
        SIZE extent{};
        ::GetTextExtentPoint32A(screen.Get(), label.text.data(),
                                static_cast<int>(label.text.size()), &extent);
        widest = std::max<int>(widest, extent.cx);
    }
    const int margin = Scale(kMargin, dpi);
    const int buttonWidth = Scale(kButtonWidth, dpi);
    const int buttonHeight =
        std::max<int>(Scale(kButtonHeight, dpi), metrics.tmHeight + Scale(10, dpi));

    Layout layout;
    layout.lineHeight = static_cast<int>(metrics.tmHeight) + Scale(2, dpi);
    layout.firstLine = banner.cy + margin;
    const int labelsBottom = layout.firstLine + static_cast<int>(kLabels.size()) *
                                                    (layout.lineHeight + Scale(kLineGap, dpi));
    layout.client.cx = std::max<int>({banner.cx, widest + 2 * margin, buttonWidth + 2 * margin});
    layout.client.cy = labelsBottom + margin + buttonHeight + margin;
    layout.button = RECT{layout.client.cx - margin - buttonWidth, labelsBottom + margin,
                         layout.client.cx - margin, labelsBottom + margin + buttonHeight};
    return layout;
}

void CreateControls(HWND window, HINSTANCE instance, const Layout& layout, int dpi, HFONT font,
                    HFONT underlined) {
    const int margin = Scale(kMargin, dpi);
    int top = layout.firstLine;
    for (const Label& label : kLabels) {
        HWND control = ::CreateWindowExA(
            0, "STATIC", label.text.data(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, margin,
            top, layout.client.cx - 2 * margin, layout.lineHeight, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(label.id)), instance, nullptr);
        ::SendMessageA(control, WM_SETFONT,
                       reinterpret_cast<WPARAM>(label.underlined ? underlined : font), FALSE);
        top += layout.lineHeight + Scale(kLineGap, dpi);
    }
    HWND close = ::CreateWindowExA(
        0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        layout.button.left, layout.button.top, layout.button.right - layout.button.left,
        layout.button.bottom - layout.button.top, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::kAboutClose)), instance, nullptr);
    ::SendMessageA(close, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetFocus(close);
}

// Runs the box's own message loop until it is closed. A WM_QUIT that arrives
// meanwhile is put back for the program's main loop.
void RunModalLoop(HWND window, const AboutState& state) {
    MSG message;
    while (state.open) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got == -1) {
            return;
        }
        if (!::IsDialogMessageA(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    if (!RegisterAboutClass(instance)) {
        return;
    }
    int dpi = 96;
    {
        ScreenDc screen;
        dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    LOGFONTA fontSpec = MessageFont();
    UniqueFont font(::CreateFontIndirectA(&fontSpec));
    fontSpec.lfUnderline = TRUE;
    UniqueFont underlined(::CreateFontIndirectA(&fontSpec));
    UniqueBitmap banner(static_cast<HBITMAP>(::LoadImageA(
        instance, MAKEINTRESOURCEA(IDB_ABOUT_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));

    AboutState state;
    state.banner = banner.Get();
    state.bannerSize = SIZE{Scale(kBannerWidth, dpi), Scale(kBannerHeight, dpi)};
    const Layout layout = ComputeLayout(font.Get(), dpi, state.bannerSize);

    // A fixed frame: no sizing border, no minimise or maximise box.
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, layout.client.cx, layout.client.cy};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred on the screen each time; a box larger than the screen gets a
    // negative position rather than being pushed back on screen.
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    UniqueWindow window(::CreateWindowExA(kExStyle, kClassName, kAboutCaption, kStyle, left, top,
                                          width, height, owner, nullptr, instance, &state));
    if (window.Get() == nullptr) {
        return;
    }
    DisabledOwner disabled(owner);
    CreateControls(window.Get(), instance, layout, dpi, font.Get(), underlined.Get());
    ::ShowWindow(window.Get(), SW_SHOW);
    ::SetForegroundWindow(window.Get());
    ::SetFocus(::GetDlgItem(window.Get(), ids::kAboutClose));
    RunModalLoop(window.Get(), state);
}

}  // namespace ktv::win32
