#include "views/ProblemsWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/Dpi.h"
#include "text/Errors.h"
#include "views/Clipboard.h"
#include "views/OutputView.h"
#include "views/WindowFonts.h"

namespace ktv::win32 {
namespace {

constexpr const char* kClassName = "KTVProblemsWindow";

// The window's size at 96 dots per inch, and each column's share of the width.
constexpr int kWidth = 640;
constexpr int kHeight = 440;
constexpr int kCodeLabelId = 1703;
constexpr int kCodePoints = 10;
// The list's share of the height left above the pane's label.
constexpr int kListPercent = 45;
constexpr struct {
    const char* title;
    int width;
    int format;
} kColumns[] = {{"Kind", 80, LVCFMT_LEFT},
                {"Basic line", 70, LVCFMT_RIGHT},
                {"Message", 380, LVCFMT_LEFT},
                {"C line", 60, LVCFMT_RIGHT}};
constexpr int kMessageColumn = 2;

// Below the owner when the screen has room there, else above it.
RECT PlaceBeside(HWND owner, int width, int height) {
    RECT frame{};
    ::GetWindowRect(owner, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int left = std::max<int>(work.left, std::min<int>(frame.left, work.right - width));
    const int top = frame.bottom + height <= work.bottom
                        ? frame.bottom
                        : std::max<int>(work.top, frame.top - height);
    return RECT{left, top, left + width, top + height};
}

}  // namespace

ProblemsWindow::ProblemsWindow(HINSTANCE instance, HWND owner,
                               std::unique_ptr<ProblemsWindowModel> list)
    : list_(std::move(list)) {
    ClassOptions classOptions{kClassName};
    classOptions.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    const int dpi = static_cast<int>(WindowDpi(owner));
    const RECT frame = PlaceBeside(owner, ScaleForDpi(kWidth, dpi), ScaleForDpi(kHeight, dpi));
    CreateWindowOf(instance, classOptions, 0, WS_OVERLAPPEDWINDOW, list_->Title().c_str(), frame,
                   owner);
    listView_ = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0,
        0, 0, Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    if (listView_ == nullptr) {
        throw Error("Cannot create the problems list");
    }
    ::SendMessageA(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        LVCOLUMNA header{};
        header.mask = LVCF_TEXT | LVCF_FMT;
        header.fmt = kColumns[column].format;
        header.pszText = const_cast<char*>(kColumns[column].title);
        ::SendMessageA(listView_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
    // The pane's label comes right before it: screen readers name the pane by it.
    codeLabel_ = ::CreateWindowExA(
        0, "STATIC", "Code beside the problem:", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
        0, 0, 0, Hwnd(), reinterpret_cast<HMENU>(INT_PTR{kCodeLabelId}), instance, nullptr);
    code_ = std::make_unique<OutputView>(instance, Hwnd(), kCodeId);
    ::SetWindowLongPtrA(code_->Hwnd(), GWL_STYLE,
                        ::GetWindowLongPtrA(code_->Hwnd(), GWL_STYLE) | WS_TABSTOP);
    code_->SetWordWrap(false);  // code keeps its lines
    ApplyFont();
    ::SendMessageA(listView_, LVM_SETITEMCOUNT, list_->Count(), LVSICF_NOSCROLL);
    ListView_SetItemState(listView_, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ShowCode(0);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    LayOut(client.right, client.bottom);
    ::ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
}

bool ProblemsWindow::PreTranslateMessage(MSG& message) {
    return Hwnd() != nullptr && ::IsDialogMessageA(Hwnd(), &message) != FALSE;
}

void ProblemsWindow::LayOut(int width, int height) {
    const int gap = Scale(6);
    const int labelHeight = Scale(20);
    const int listHeight = std::max(Scale(60), (height - labelHeight) * kListPercent / 100);
    ::MoveWindow(listView_, 0, 0, width, listHeight, TRUE);
    ::MoveWindow(codeLabel_, gap, listHeight + gap / 2, width - 2 * gap, labelHeight - gap, TRUE);
    ::MoveWindow(code_->Hwnd(), 0, listHeight + labelHeight, width,
                 std::max(0, height - listHeight - labelHeight), TRUE);
    SetColumnWidths();
}

// Read when the row is focused, not before: only what is shown is read.
void ProblemsWindow::ShowCode(int row) {
    if (row == shownCodeRow_ || row < 0) {
        return;
    }
    shownCodeRow_ = row;
    code_->SetText(list_->CodeBeside(static_cast<std::size_t>(row)));
}

ProblemsWindow::~ProblemsWindow() {
    // The window goes before its font: the list may not draw with a deleted one.
    if (Hwnd() != nullptr) {
        ::DestroyWindow(Hwnd());
    }
}

// The message takes what the other columns leave of the list's width.
void ProblemsWindow::SetColumnWidths() {
    RECT client{};
    ::GetClientRect(listView_, &client);
    int others = SystemMetricForDpi(SM_CXVSCROLL, Dpi());
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        others += column == kMessageColumn ? 0 : Scale(kColumns[column].width);
    }
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        const int width = column == kMessageColumn
                              ? std::max<int>(Scale(kColumns[column].width), client.right - others)
                              : Scale(kColumns[column].width);
        ::SendMessageA(listView_, LVM_SETCOLUMNWIDTH, column, width);
    }
}

// The user's message font at the window's DPI, as the main window has it,
// and code in a fixed-pitch font; the old fonts go once the controls have the
// new ones.
void ProblemsWindow::ApplyFont() {
    UniqueFont font = CreateMessageFont(Dpi());
    ::SendMessageA(listView_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    ::SendMessageA(codeLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);
    if (UniqueFont codeFont = CreateFixedPitchFont(kCodePoints, Dpi())) {
        ::SendMessageA(code_->Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(codeFont.Get()), TRUE);
        codeFont_ = std::move(codeFont);
    }
}

void ProblemsWindow::OnDpiChanged(const RECT& suggested) {
    ApplyFont();
    Window::OnDpiChanged(suggested);
}

std::vector<std::size_t> ProblemsWindow::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (int row = ListView_GetNextItem(listView_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(listView_, row, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

void ProblemsWindow::CopySelection() {
    const std::string text = list_->CopyText(SelectedRows());
    if (!text.empty() && !CopyTextToClipboard(Hwnd(), text)) {
        throw Error("Cannot copy the problems to the clipboard");
    }
}

// The editor is steered with the message loop running: neither this window
// nor its owner may take input until it is done.
void ProblemsWindow::OpenRow(std::size_t row) {
    const HWND owner = ::GetWindow(Hwnd(), GW_OWNER);
    ::EnableWindow(owner, FALSE);
    ::EnableWindow(Hwnd(), FALSE);
    const struct Enabler {
        HWND owner, self;
        ~Enabler() {
            ::EnableWindow(self, TRUE);
            ::EnableWindow(owner, TRUE);
        }
    } enabler{owner, Hwnd()};
    list_->Open(row);
}

LRESULT ProblemsWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != kListId || !list_) {
        return 0;
    }
    switch (header.code) {
        case LVN_GETDISPINFOA: {
            auto& item = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
            if ((item.item.mask & LVIF_TEXT) != 0 && item.item.cchTextMax > 0) {
                cell_ = list_->Cell(static_cast<std::size_t>(item.item.iItem),
                                    static_cast<ProblemColumn>(item.item.iSubItem));
                item.item.pszText = cell_.data();
            }
            return 0;
        }
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uNewState & LVIS_FOCUSED) != 0 && (change.uOldState & LVIS_FOCUSED) == 0) {
                ShowCode(change.iItem);
            }
            return 0;
        }
        case NM_DBLCLK: {
            const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (row >= 0) {
                OpenRow(static_cast<std::size_t>(row));
            }
            return 0;
        }
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
            const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
            if (key.wVKey == VK_RETURN && focused >= 0) {
                OpenRow(static_cast<std::size_t>(focused));  // without the dialog manager
            } else if (::GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'A') {
                ListView_SetItemState(listView_, -1, LVIS_SELECTED, LVIS_SELECTED);
            } else if (::GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'C') {
                CopySelection();
            }
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT ProblemsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (code_ == nullptr) {
                return 0;  // the controls are made after the window
            }
            LayOut(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_COMMAND:
            // Enter and Esc, as the dialog manager reports them.
            if (LOWORD(wParam) == IDOK && ::GetFocus() == listView_) {
                const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
                if (focused >= 0) {
                    OpenRow(static_cast<std::size_t>(focused));
                }
            } else if (LOWORD(wParam) == IDCANCEL) {
                ::DestroyWindow(Hwnd());
            }
            return 0;
        case WM_SETFOCUS:
            ::SetFocus(listView_);
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace ktv::win32
