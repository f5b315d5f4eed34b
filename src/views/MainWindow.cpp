#include "views/MainWindow.h"

#include <commctrl.h>

#include <exception>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "main/ControlIds.h"
#include "views/AboutBox.h"
#include "text/Errors.h"

namespace ktv::win32 {

namespace {

constexpr const char* kWindowClass = "KTVDebuggerMainWindow";
constexpr const char* kCaption = "KTV Debugger 3.001";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;

enum class FontRole { Message, Bold, Title };

// One control of the window, in creation order: the order is the tab order,
// so it follows the rows from top to bottom. Labels and the rule are no
// windows (as a form's labels are not): the window paints them, which spares
// a dozen child windows, each of which costs start-up time under Wine.
struct ChildEntry {
    int id;
    const char* className;  // null: painted by the window
    const char* text;       // null: the model supplies it
    DWORD style;            // for a painted label only SS_RIGHT counts
    FontRole font;
};

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kField = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
// The model decides every state, so neither kind changes itself on a click.
constexpr DWORD kCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_3STATE;
constexpr DWORD kOption = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON;

constexpr ChildEntry kChildren[] = {
    {ids::kLabelTitle, nullptr, "KTV Debugger", kLabel, FontRole::Title},
    {ids::kLabelSubtitle, nullptr, "Change the options and click Debug.", kLabel,
     FontRole::Message},

    {ids::kCaptionLccPath, nullptr, "LCC Directory:", kLabel, FontRole::Bold},
    {ids::kTxtLccPath, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kCommand2LccBrowse, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kCaptionKtvPath, nullptr, "KTV Directory:", kLabel, FontRole::Bold},
    {ids::kTxtKtvPath, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kCommand4KtvBrowse, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kCaptionBasFile, nullptr, "Basic file to Debug:", kLabel, FontRole::Bold},
    {ids::kTxtBasFile, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kCommand3BasBrowse, "BUTTON", "...", kButton, FontRole::Message},

    {ids::kCaptionLibs, nullptr, "Include Libraries", kLabel, FontRole::Bold},
    {ids::kTxtLibs, "EDIT", nullptr, kField, FontRole::Message},
    {ids::kCommand5LibBrowse, "BUTTON", "...", kButton, FontRole::Message},
    {ids::kLabelHint, nullptr, "Seperate with ;", kLabel | SS_RIGHT, FontRole::Message},

    {ids::kCaptionCmd, nullptr, "Command Line:", kLabel, FontRole::Bold},
    {ids::kTxtCmd, "EDIT", nullptr, kField, FontRole::Message},

    {ids::kCaptionCompileAs, nullptr, "Compile as:", kLabel, FontRole::Bold},
    {ids::kOptGui, "BUTTON", "Gui", kOption | WS_GROUP | WS_TABSTOP, FontRole::Message},
    {ids::kOptCon, "BUTTON", "Console", kOption, FontRole::Message},
    {ids::kOptDll, "BUTTON", "DLL", kOption, FontRole::Message},
    {ids::kChkWarn, "BUTTON", "Check for C Warnings.", kCheck, FontRole::Message},

    {ids::kCaptionOnError, nullptr, "If Error found, do the following:", kLabel, FontRole::Bold},
    {ids::kChkNote, "BUTTON", "Launch Notepad, and goto line with error.", kCheck,
     FontRole::Message},
    {ids::kChkJen, "BUTTON", "Launch JFE, and goto line with error", kCheck, FontRole::Message},
    {ids::kChkCon, "BUTTON", "Launch Context and goto line with error", kCheck, FontRole::Message},

    {ids::kCaptionOnSuccess, nullptr, "If No Errors found, do the following:", kLabel,
     FontRole::Bold},
    {ids::kChkRun, "BUTTON", "Run the Application", kCheck, FontRole::Message},
    {ids::kChkDebug, "BUTTON", "Debug with LCC Wedit", kCheck, FontRole::Message},

    {ids::kRule, nullptr, "", kLabel, FontRole::Message},

    {ids::kCmdExit, "BUTTON", "Exit", kButton, FontRole::Bold},
    {ids::kCommand6About, "BUTTON", "About", kButton, FontRole::Bold},
    {ids::kCommand1Debug, "BUTTON", "Debug", (kButton & ~DWORD{BS_PUSHBUTTON}) | BS_DEFPUSHBUTTON,
     FontRole::Bold},
};

const ChildEntry* FindChildEntry(int id) {
    for (const ChildEntry& entry : kChildren) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

HFONT FontFor(const WindowFonts& fonts, FontRole role) {
    switch (role) {
        case FontRole::Title:
            return fonts.title.Get();
        case FontRole::Bold:
            return fonts.bold.Get();
        case FontRole::Message:
            break;
    }
    return fonts.message.Get();
}

bool IsFooterButton(int id) {
    return id == ids::kCmdExit || id == ids::kCommand6About || id == ids::kCommand1Debug;
}

COLORREF LabelColour(int id) {
    if (id == ids::kLabelTitle || id == ids::kLabelSubtitle) {
        return RGB(0xFF, 0xFF, 0xFF);  // on the banner
    }
    return id == ids::kLabelHint ? RGB(0x5F, 0x5F, 0x5F) : ::GetSysColor(COLOR_WINDOWTEXT);
}

WPARAM CheckValue(CheckState state) {
    switch (state) {
        case CheckState::Checked:
            return BST_CHECKED;
        case CheckState::Grayed:
            return BST_INDETERMINATE;
        case CheckState::Unchecked:
            break;
    }
    return BST_UNCHECKED;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int length = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, MainForm& form, MainWindowResources resources,
                       std::function<bool()> isBusy)
    : instance_(instance), form_(form), resources_(resources), isBusy_(std::move(isBusy)) {}

MainWindow::~MainWindow() {
    // The model outlives no window it points to: unhook before the handle goes.
    for (Control* control : form_.Controls()) {
        control->SetViewObserver(nullptr);
    }
    form_.Window.SetViewObserver(nullptr);
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
    ruleBrush_.Reset(::CreateSolidBrush(RGB(0xD9, 0xD9, 0xD9)));

    // The window and each control are made at their size and place, in their
    // font: under Wine every one moved or given a font afterwards costs as
    // much again. The window opens on the primary monitor, at the system's
    // DPI; should its own differ, it is laid out again. It is made centred,
    // where loading the form puts it anyway.
    const UINT dpi = ::GetDpiForSystem();
    fonts_ = CreateWindowFonts(dpi);
    layout_ = LayOutMainWindow(Measure(dpi));
    const SIZE size = OuterSize(dpi);
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    CreateWindowOf(instance_, classOptions, kWindowExStyle, kWindowStyle | WS_CLIPCHILDREN,
                   kCaption, RECT{left, top, left + size.cx, top + size.cy}, nullptr);
    if (Dpi() != dpi) {
        fonts_ = CreateWindowFonts(Dpi());
        layout_ = LayOutMainWindow(Measure(Dpi()));
        FitWindowToLayout(nullptr);
    }
    CreateChildren();
    BindModel();
    LoadBannerFor(layout_.banner.height);
    RenderBanner(layout_.banner);
}

void MainWindow::CreateChildren() {
    for (const ChildEntry& entry : kChildren) {
        if (entry.className == nullptr) {
            continue;  // painted
        }
        const bool isEdit = std::string_view(entry.className) == "EDIT";
        const DWORD exStyle = (isEdit ? WS_EX_CLIENTEDGE : 0) | WS_EX_NOPARENTNOTIFY;
        const LayoutRect place = layout_.Find(entry.id).value_or(LayoutRect{});
        HWND child = ::CreateWindowExA(
            exStyle, entry.className, entry.text ? entry.text : "", entry.style, place.x, place.y,
            place.width, place.height, Hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_, nullptr);
        if (child == nullptr) {
            throw Error("A control of the main window cannot be created.");
        }
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fonts_, entry.font)),
                       FALSE);
    }
}

void MainWindow::BindModel() {
    bindings_.clear();
    for (Control* control : form_.Controls()) {
        bindings_.push_back({control, ::GetDlgItem(Hwnd(), control->Id())});
    }
    for (size_t index = 0; index < bindings_.size(); ++index) {
        bindings_[index].control->SetViewObserver([this, index] { Mirror(bindings_[index]); });
        Mirror(bindings_[index]);
    }
    form_.Window.SetViewObserver([this] { MirrorWindowEnabled(); });
    MirrorWindowEnabled();
}

MainWindowMetrics MainWindow::Measure(UINT dpi) const {
    WindowDc dc(nullptr);  // the screen's: the window need not exist yet
    const auto width = [&](const UniqueFont& font, std::string_view text) {
        return static_cast<int>(MeasureText(dc.Get(), font.Get(), text).cx);
    };
    const auto textOf = [](int id) { return std::string_view(FindChildEntry(id)->text); };

    MainWindowMetrics metrics;
    metrics.dpi = static_cast<int>(dpi);
    metrics.textHeight = static_cast<int>(MeasureText(dc.Get(), fonts_.message.Get(), "Ag").cy);
    metrics.titleHeight = static_cast<int>(MeasureText(dc.Get(), fonts_.title.Get(), "Ag").cy);
    metrics.checkGlyphWidth = ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
    for (int id :
         {ids::kCaptionLccPath, ids::kCaptionKtvPath, ids::kCaptionBasFile, ids::kCaptionLibs,
          ids::kCaptionCmd, ids::kCaptionCompileAs, ids::kCaptionOnError, ids::kCaptionOnSuccess}) {
        metrics.captionWidth = std::max(metrics.captionWidth, width(fonts_.bold, textOf(id)));
    }
    for (int id : {ids::kCmdExit, ids::kCommand6About, ids::kCommand1Debug}) {
        metrics.buttonTextWidth = std::max(metrics.buttonTextWidth, width(fonts_.bold, textOf(id)));
    }
    metrics.hintWidth = width(fonts_.message, textOf(ids::kLabelHint));
    metrics.titleWidth = width(fonts_.title, textOf(ids::kLabelTitle));
    metrics.subtitleWidth = width(fonts_.message, textOf(ids::kLabelSubtitle));
    metrics.guiWidth = width(fonts_.message, textOf(ids::kOptGui));
    metrics.consoleWidth = width(fonts_.message, textOf(ids::kOptCon));
    metrics.dllWidth = width(fonts_.message, textOf(ids::kOptDll));
    metrics.warnWidth = width(fonts_.message, textOf(ids::kChkWarn));
    metrics.noteWidth = width(fonts_.message, textOf(ids::kChkNote));
    metrics.jenWidth = width(fonts_.message, textOf(ids::kChkJen));
    metrics.conWidth = width(fonts_.message, textOf(ids::kChkCon));
    metrics.runWidth = width(fonts_.message, textOf(ids::kChkRun));
    metrics.debugWidth = width(fonts_.message, textOf(ids::kChkDebug));
    return metrics;
}

void MainWindow::OnDpiChanged(const RECT& suggested) {
    ApplyDpi(&suggested);
}

void MainWindow::ApplyDpi(const RECT* suggested) {
    fonts_ = CreateWindowFonts(Dpi());
    for (const ChildEntry& entry : kChildren) {
        if (entry.className != nullptr) {
            ::SendMessageA(::GetDlgItem(Hwnd(), entry.id), WM_SETFONT,
                           reinterpret_cast<WPARAM>(FontFor(fonts_, entry.font)), FALSE);
        }
    }

    layout_ = LayOutMainWindow(Measure(Dpi()));
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(layout_.controls.size()));
    for (const PlacedControl& placed : layout_.controls) {
        const HWND child = ::GetDlgItem(Hwnd(), placed.id);
        if (positions != nullptr && child != nullptr) {
            positions = ::DeferWindowPos(positions, child, nullptr, placed.rect.x, placed.rect.y,
                                         placed.rect.width, placed.rect.height,
                                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) {
        ::EndDeferWindowPos(positions);
    }
    LoadBannerFor(layout_.banner.height);
    RenderBanner(layout_.banner);
    FitWindowToLayout(suggested);
}

SIZE MainWindow::OuterSize(UINT dpi) const {
    RECT outer{0, 0, layout_.clientWidth, layout_.clientHeight};
    ::AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, dpi);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void MainWindow::FitWindowToLayout(const RECT* suggested) {
    const SIZE size = OuterSize(Dpi());
    RECT current{};
    ::GetWindowRect(Hwnd(), &current);
    const POINT topLeft = suggested != nullptr ? POINT{suggested->left, suggested->top}
                                               : POINT{current.left, current.top};
    ::SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void MainWindow::LoadBannerFor(int height) {
    const auto load = [&](int id) {
        return static_cast<HBITMAP>(id == 0
                                        ? nullptr
                                        : ::LoadImageA(instance_, MAKEINTRESOURCEA(id),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    // The copy at one height is small and drawn as it is; scaling the large
    // picture took a few milliseconds of every start under Wine.
    bannerSource_.Reset(load(resources_.bannerAtOneHeightId));
    BITMAP picture{};
    if (bannerSource_ && ::GetObjectA(bannerSource_.Get(), sizeof picture, &picture) != 0 &&
        picture.bmHeight == height) {
        return;
    }
    bannerSource_.Reset(load(resources_.bannerBitmapId));
}

void MainWindow::RenderBanner(const LayoutRect& banner) {
    bannerRendered_.Reset();
    WindowDc screen(Hwnd());
    bannerRendered_.Reset(::CreateCompatibleBitmap(screen.Get(), banner.width, banner.height));
    MemoryDc target(screen.Get());
    SelectedObject targetBitmap(target.Get(), bannerRendered_.Get());

    BITMAP source{};
    if (!bannerSource_ || ::GetObjectA(bannerSource_.Get(), sizeof(source), &source) == 0 ||
        source.bmHeight <= 0) {
        const RECT all{0, 0, banner.width, banner.height};
        ::FillRect(target.Get(), &all, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        // The picture keeps its proportions: scaled to the banner's height and
        // aligned right, where its motif is. Its left edge is one plain
        // colour, which stretches to fill whatever width is left.
        MemoryDc sourceDc(screen.Get());
        SelectedObject sourceBitmap(sourceDc.Get(), bannerSource_.Get());
        // Halftone only when the picture is scaled: the copy it then makes
        // is slow, and the left edge's one colour needs none.
        ::SetStretchBltMode(target.Get(),
                            source.bmHeight == banner.height ? COLORONCOLOR : HALFTONE);
        ::SetBrushOrgEx(target.Get(), 0, 0, nullptr);
        const int scaledWidth = ::MulDiv(source.bmWidth, banner.height, source.bmHeight);
        const int left = banner.width - scaledWidth;
        if (left > 0) {
            ::StretchBlt(target.Get(), 0, 0, left, banner.height, sourceDc.Get(), 0, 0, 1,
                         source.bmHeight, SRCCOPY);
        }
        ::StretchBlt(target.Get(), left, 0, scaledWidth, banner.height, sourceDc.Get(), 0, 0,
                     source.bmWidth, source.bmHeight, SRCCOPY);
    }
}

void MainWindow::Show(int showCommand) {
    ::ShowWindow(Hwnd(), showCommand);
    ::UpdateWindow(Hwnd());
}

bool MainWindow::PreTranslateMessage(MSG& message) {
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

void MainWindow::ShowProblems(std::unique_ptr<ProblemsList> list) {
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

const MainWindow::Binding* MainWindow::FindBinding(int id) const {
    for (const Binding& binding : bindings_) {
        if (binding.control->Id() == id) {
            return &binding;
        }
    }
    return nullptr;
}

void MainWindow::Mirror(const Binding& binding) {
    const Control& control = *binding.control;
    const HWND child = binding.child;
    switch (control.Kind()) {
        case ControlKind::TextField: {
            const auto& field = static_cast<const TextField&>(control);
            if (WindowText(child) != field.Text()) {
                // The edit control reports the change as EN_CHANGE; the model
                // already holds this text, so that echo is not taken back.
                settingText_ = true;
                ::SetWindowTextA(child, field.Text().c_str());
                settingText_ = false;
            }
            break;
        }
        case ControlKind::CheckBox:
            ::SendMessageA(child, BM_SETCHECK,
                           CheckValue(static_cast<const CheckBox&>(control).State()), 0);
            break;
        case ControlKind::OptionButton:
            ::SendMessageA(
                child, BM_SETCHECK,
                static_cast<const OptionButton&>(control).Selected() ? BST_CHECKED : BST_UNCHECKED,
                0);
            break;
        case ControlKind::CommandButton:
        case ControlKind::Window:
            break;
    }

    const bool enabled = control.Enabled();
    if ((::IsWindowEnabled(child) != FALSE) != enabled) {
        if (!enabled && ::GetFocus() == child) {
            // A disabled control cannot keep the focus; give it back later.
            focusToRestore_ = child;
        }
        ::EnableWindow(child, enabled ? TRUE : FALSE);
        if (enabled && child == focusToRestore_ && ::GetActiveWindow() == Hwnd()) {
            const HWND focus = ::GetFocus();
            if (focus == nullptr || focus == Hwnd() || ::IsWindowEnabled(focus) == FALSE) {
                ::SetFocus(child);
            }
        }
    }
}

void MainWindow::MirrorWindowEnabled() {
    const bool enabled = form_.Window.Enabled();
    if (!enabled) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(Hwnd(), focus)) {
            focusToRestore_ = focus;
        }
    }
    ::EnableWindow(Hwnd(), enabled ? TRUE : FALSE);
    if (enabled && focusToRestore_ != nullptr && ::IsWindowEnabled(focusToRestore_) != FALSE &&
        ::GetActiveWindow() == Hwnd()) {
        ::SetFocus(focusToRestore_);
    }
}

void MainWindow::OnCommand(int id, int code) {
    const Binding* binding = FindBinding(id);
    if (binding == nullptr) {
        return;
    }
    Control& control = *binding->control;
    if (control.Kind() == ControlKind::TextField) {
        if (code == EN_CHANGE && !settingText_) {
            static_cast<TextField&>(control).TakeTextFromView(WindowText(binding->child));
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    // A disabled control takes no input, however the click was delivered.
    if (!control.Enabled() || ::IsWindowEnabled(binding->child) == FALSE) {
        return;
    }
    switch (control.Kind()) {
        case ControlKind::CheckBox:
            static_cast<CheckBox&>(control).Click();
            break;
        case ControlKind::OptionButton:
            static_cast<OptionButton&>(control).Click();
            break;
        case ControlKind::CommandButton:
            static_cast<CommandButton&>(control).Click();
            break;
        case ControlKind::TextField:
        case ControlKind::Window:
            break;
    }
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    const LayoutRect& banner = layout_.banner;
    if (bannerRendered_) {
        MemoryDc source(dc);
        SelectedObject selected(source.Get(), bannerRendered_.Get());
        ::BitBlt(dc, banner.x, banner.y, banner.width, banner.height, source.Get(), 0, 0, SRCCOPY);
    }
    const RECT content{0, banner.Bottom(), layout_.clientWidth, layout_.footerTop};
    ::FillRect(dc, &content, ::GetSysColorBrush(COLOR_WINDOW));
    const RECT footer{0, layout_.footerTop, layout_.clientWidth, layout_.clientHeight};
    ::FillRect(dc, &footer, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintLabels(dc);
    ::EndPaint(Hwnd(), &paint);
}

void MainWindow::PaintLabels(HDC dc) {
    ::SetBkMode(dc, TRANSPARENT);
    for (const ChildEntry& entry : kChildren) {
        const std::optional<LayoutRect> place = layout_.Find(entry.id);
        if (entry.className != nullptr || !place) {
            continue;
        }
        RECT rect{place->x, place->y, place->Right(), place->Bottom()};
        if (entry.id == ids::kRule) {
            ::FillRect(dc, &rect, ruleBrush_.Get());
            continue;
        }
        SelectedObject font(dc, FontFor(fonts_, entry.font));
        ::SetTextColor(dc, LabelColour(entry.id));
        const UINT align = (entry.style & SS_RIGHT) != 0 ? DT_RIGHT : DT_LEFT;
        ::DrawTextA(dc, entry.text, -1, &rect, align | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
}

LRESULT MainWindow::OnControlColor(HDC dc, HWND child) {
    const int id = ::GetDlgCtrlID(child);
    if (const Binding* binding = FindBinding(id);
        binding != nullptr && binding->control->Kind() == ControlKind::TextField) {
        // A disabled edit control keeps the system's grey look.
        return ::DefWindowProcA(Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(child));
    }
    const int background = IsFooterButton(id) ? COLOR_BTNFACE : COLOR_WINDOW;
    ::SetBkColor(dc, ::GetSysColor(background));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
}

void MainWindow::OnActivate(bool active) {
    if (!active) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(Hwnd(), focus)) {
            focusToRestore_ = focus;
        }
        return;
    }
    if (focusToRestore_ != nullptr && ::IsWindowEnabled(focusToRestore_) != FALSE) {
        ::SetFocus(focusToRestore_);
    } else if (HWND first = ::GetNextDlgTabItem(Hwnd(), nullptr, FALSE); first != nullptr) {
        ::SetFocus(first);
    }
}

void MainWindow::ReportFailure(const char* what) {
    const std::string text = std::string("Error: ") + what;
    ::MessageBoxA(Hwnd(), text.c_str(), "Error!", MB_OK | MB_ICONEXCLAMATION);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            // The close box takes the same road as "Exit", which saves the
            // settings and ends the program. Should that road come back, the
            // program ends all the same.
            try {
                form_.Cmd_Exit.Click();
            } catch (const std::exception& failure) {
                ReportFailure(failure.what());
            }
            EndProgram();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(ids::kCommand1Debug, DC_HASDEFID);
        case WM_SETCURSOR:
            if (isBusy_ && isBusy_()) {
                ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
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
            }
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace ktv::win32
