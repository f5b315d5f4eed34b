#include "views/MainWindow.h"

#include <commctrl.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

#include "model/ControlIds.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Monitors.h"
#include "platform/win32/Win32Desktop.h"
#include "views/AboutBox.h"
#include "views/MainWindowControls.h"
#include "views/MainWindowMetrics.h"
#include "views/Version.h"

namespace ktv::win32 {
namespace {

constexpr const char* kWindowClass = "KTVDebuggerMainWindow";
constexpr const char* kCaption = KTV_PRODUCT_NAME " " KTV_VERSION_TEXT;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
// Keeps the seconds of a step under way current; a few times a second, so
// that each new second shows when it begins.
constexpr UINT_PTR kStatusTimer = 1;
constexpr UINT kStatusTimerMs = 250;

bool IsFooterButton(int id) {
    return id == ids::kExitButton || id == ids::kAboutButton || id == ids::kDebugButton;
}

// With high contrast on, every colour is the user's: the banner shows no
// picture, and no text keeps a colour of its own.
bool HighContrast() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The colour of a text the window draws or a label shows, by its ID.
COLORREF TextColour(int id, bool highContrast) {
    if (id == ids::kTitleLabel || id == ids::kSubtitleLabel) {  // on the banner
        return highContrast ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0xFF, 0xFF, 0xFF);
    }
    if (id == ids::kLibrariesHint && !highContrast) {
        return RGB(0x5F, 0x5F, 0x5F);  // a hint, quieter than the labels
    }
    return ::GetSysColor(COLOR_WINDOWTEXT);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, MainWindowModel& model, MainWindowResources resources,
                       std::function<bool()> isBusy)
    : instance_(instance),
      model_(model),
      resources_(resources),
      isBusy_(std::move(isBusy)),
      banner_(instance, resources.bannerBitmapId, resources.bannerAtOneHeightId) {}

MainWindow::~MainWindow() {
    // The model's controls stop pointing at the window before it goes.
    mirror_.reset();
    model_.statusLine.SetViewObserver(nullptr);
}

void MainWindow::Create() {
    ClassOptions classOptions{kWindowClass};
    if (resources_.iconId != 0) {
        const auto* name = MAKEINTRESOURCEA(resources_.iconId);
        classOptions.icon = static_cast<HICON>(
            ::LoadImageA(instance_, name, IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                         ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
        classOptions.smallIcon = static_cast<HICON>(
            ::LoadImageA(instance_, name, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                         ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }

    // The window and each control are made at their size and place, in their
    // font: under Wine every one moved or given a font afterwards costs as
    // much again. The window opens on the primary monitor, at the system's
    // DPI; should its own differ, it is laid out again. It is made centred,
    // where loading the settings puts it anyway.
    const UINT dpi = SystemDpi();
    LayOutFor(dpi);
    const SIZE size = OuterSizeFor(dpi);
    const ScreenPoint at = CentredIn(WorkAreaOf(nullptr), size.cx, size.cy);
    CreateWindowOf(instance_, classOptions, kWindowExStyle, kWindowStyle | WS_CLIPCHILDREN,
                   kCaption, RECT{at.x, at.y, at.x + size.cx, at.y + size.cy}, nullptr);
    if (Dpi() != dpi) {
        LayOutFor(Dpi());
        const SIZE resized = OuterSizeFor(Dpi());
        ::SetWindowPos(Hwnd(), nullptr, 0, 0, resized.cx, resized.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateChildControls(Hwnd(), instance_, layout_, fonts_);
    mirror_ = std::make_unique<ControlMirror>(Hwnd(), model_);
    model_.statusLine.SetViewObserver([this] { ShowStatus(); });
    ShowStatus();
    ApplyColours();
}

void MainWindow::ShowStatus() {
    const StatusLine& line = model_.statusLine;
    std::wstring text = WideFromAnsi(line.Text());
    if (line.UnderWay()) {
        text += L"\u2026";
        const std::chrono::milliseconds now(::GetTickCount64());  // MonotonicTime's clock
        if (const std::optional<long long> seconds = line.SecondsAt(now)) {
            text += L" " + std::to_wstring(*seconds) + L" s";
        }
        ::SetTimer(Hwnd(), kStatusTimer, kStatusTimerMs, nullptr);
    } else {
        ::KillTimer(Hwnd(), kStatusTimer);
    }
    if (text != shownStatus_) {
        shownStatus_ = text;
        ::SendMessageW(::GetDlgItem(Hwnd(), ids::kStatusBar), SB_SETTEXTW, 0,
                       reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void MainWindow::ApplyColours() {
    highContrast_ = HighContrast();
    ruleBrush_.Reset(highContrast_ ? nullptr : ::CreateSolidBrush(RGB(0xD9, 0xD9, 0xD9)));
    banner_.Render(Hwnd(), layout_.banner.width, layout_.banner.height, !highContrast_);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void MainWindow::LayOutFor(UINT dpi) {
    fonts_ = CreateWindowFonts(dpi);
    layout_ = LayOutMainWindow(MeasureMainWindow(fonts_, dpi));
}

SIZE MainWindow::OuterSizeFor(UINT dpi) const {
    const RECT outer = FrameAroundClient(RECT{0, 0, layout_.clientWidth, layout_.clientHeight},
                                         kWindowStyle, kWindowExStyle, dpi);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void MainWindow::OnDpiChanged(const RECT& suggested) {
    ApplyDpi(&suggested);
}

void MainWindow::ApplyDpi(const RECT* suggested) {
    LayOutFor(Dpi());
    RefitChildControls(Hwnd(), layout_, fonts_);
    banner_.Render(Hwnd(), layout_.banner.width, layout_.banner.height, !highContrast_);
    const SIZE size = OuterSizeFor(Dpi());
    RECT current{};
    ::GetWindowRect(Hwnd(), &current);
    const POINT topLeft = suggested != nullptr ? POINT{suggested->left, suggested->top}
                                               : POINT{current.left, current.top};
    ::SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(Hwnd(), showCommand);
    ::UpdateWindow(Hwnd());
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (problems_ && problems_->PreTranslateMessage(message)) {
        return true;
    }
    return Hwnd() != nullptr && ::IsDialogMessageA(Hwnd(), &message) != FALSE;
}

WindowRef MainWindow::Handle() const {
    return reinterpret_cast<WindowRef>(Hwnd());
}

WindowSize MainWindow::OuterSize() const {
    RECT outer{};
    ::GetWindowRect(Hwnd(), &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void MainWindow::MoveTo(int left, int top) {
    RECT current{};
    ::GetWindowRect(Hwnd(), &current);
    if (current.left != left || current.top != top) {  // each move costs a round trip
        ::SetWindowPos(Hwnd(), nullptr, left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::ShowAboutBox() {
    win32::ShowAboutBox(instance_, Hwnd());
}

void MainWindow::ShowProblems(std::unique_ptr<ProblemsWindowModel> list) {
    problems_.reset();
    problems_ = std::make_unique<ProblemsWindow>(instance_, Hwnd(), std::move(list));
}

void MainWindow::CloseProblems() {
    problems_.reset();
}

void MainWindow::EndProgram() {
    // The settings are written by now; every other window goes with the process.
    ::ExitProcess(0);
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    banner_.Draw(dc, layout_.banner.x, layout_.banner.y);
    const RECT content{0, layout_.banner.Bottom(), layout_.clientWidth, layout_.footerTop};
    ::FillRect(dc, &content, ::GetSysColorBrush(COLOR_WINDOW));
    const RECT footer{0, layout_.footerTop, layout_.clientWidth, layout_.clientHeight};
    ::FillRect(dc, &footer, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintLabels(dc);
    ::EndPaint(Hwnd(), &paint);
}

void MainWindow::PaintLabels(HDC dc) {
    ::SetBkMode(dc, TRANSPARENT);
    for (const ChildEntry& entry : MainWindowChildren()) {
        const std::optional<LayoutRect> place = layout_.Find(entry.id);
        if (entry.className != nullptr || !place) {
            continue;
        }
        RECT rect{place->x, place->y, place->Right(), place->Bottom()};
        if (entry.id == ids::kRule) {
            ::FillRect(dc, &rect,
                       ruleBrush_ ? ruleBrush_.Get() : ::GetSysColorBrush(COLOR_WINDOWTEXT));
            continue;
        }
        SelectedObject font(dc, FontFor(fonts_, entry.font));
        ::SetTextColor(dc, TextColour(entry.id, highContrast_));
        ::DrawTextA(dc, entry.text, -1, &rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND child) {
    if (mirror_ && mirror_->IsTextField(child)) {
        // A disabled edit control keeps the system's grey look.
        return ::DefWindowProcA(Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(child));
    }
    const int id = ::GetDlgCtrlID(child);
    const int background = IsFooterButton(id) ? COLOR_BTNFACE : COLOR_WINDOW;
    ::SetBkColor(dc, ::GetSysColor(background));
    ::SetTextColor(dc, TextColour(id, highContrast_));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
}

void MainWindow::ReportFailure(const char* what) {
    const std::string text = std::string("Error: ") + what;
    ::MessageBoxA(Hwnd(), text.c_str(), "Error!", MB_OK | MB_ICONEXCLAMATION);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
                model_.escapeKey.Click();  // Esc, as the dialog manager reports it
            } else if (mirror_) {
                mirror_->OnCommand(LOWORD(wParam), HIWORD(wParam));
            }
            return 0;
        case WM_CLOSE:
            // The close box saves the settings and ends the program, as "Exit"
            // does, once a run under way has stopped and finished. Should the
            // road fail, the program ends all the same.
            try {
                model_.closeWindow.Click();
            } catch (const std::exception& failure) {
                ReportFailure(failure.what());
                EndProgram();
            }
            return 0;
        case WM_TIMER:
            if (wParam == kStatusTimer) {
                ShowStatus();
                return 0;
            }
            break;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(ids::kDebugButton, DC_HASDEFID);
        case WM_SETCURSOR:
            if (isBusy_ && isBusy_()) {
                ::SetCursor(::LoadCursorA(nullptr, Win32Desktop::BusyCursor()));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (mirror_) {
                mirror_->OnActivate(LOWORD(wParam) != WA_INACTIVE);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the whole client area
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS) {
                ApplyDpi(nullptr);  // the user chose another message font
            } else if (wParam == SPI_SETHIGHCONTRAST) {
                ApplyColours();
            }
            break;
        case WM_SYSCOLORCHANGE:
            ApplyColours();
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace ktv::win32
