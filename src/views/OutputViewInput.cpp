// The output view's answers to the keyboard, the mouse and its Copy menu.
#include <algorithm>

#include "platform/win32/Handles.h"
#include "views/Clipboard.h"
#include "views/OutputView.h"

namespace ktv::win32 {
namespace {

constexpr UINT kCopyCommand = 1;
constexpr UINT kSelectAllCommand = 2;
constexpr UINT kWordWrapCommand = 3;

bool IsKeyDown(int key) {
    return ::GetKeyState(key) < 0;
}

// Rounds towards minus infinity, so that a point above or left of the view
// counts as the row or column before the first one shown.
long long FloorDivide(long long value, long long by) {
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

}  // namespace

void OutputView::Select(std::size_t anchor, std::size_t caret, bool show) {
    anchor_ = anchor;
    caret_ = caret;
    if (show) {
        ShowPosition(caret_);
    }
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    PlaceCaret();
}

std::size_t OutputView::PositionAtPoint(int x, int y) const {
    const long long row =
        static_cast<long long>(firstRow_) + FloorDivide(y, static_cast<long long>(lineHeight_));
    const long long column = static_cast<long long>(firstColumn_) +
                             FloorDivide(x + charWidth_ / 2, static_cast<long long>(charWidth_));
    const long long lastRow = static_cast<long long>(lines_.RowCount()) - 1;
    return lines_.PositionAt(static_cast<std::size_t>(std::clamp(row, 0LL, lastRow)),
                             static_cast<std::size_t>(std::max(column, 0LL)));
}

void OutputView::OnKey(UINT key) {
    const bool control = IsKeyDown(VK_CONTROL);
    const std::size_t row = lines_.RowOf(caret_);
    const std::size_t column = lines_.ColumnIn(row, caret_);
    const std::size_t lastRow = lines_.RowCount() - 1;
    std::size_t to = caret_;
    switch (key) {
        case 'A':
            if (control) {
                Select(0, lines_.Size(), false);
            }
            return;
        case 'C':
        case VK_INSERT:
            if (control) {
                CopySelection();
            }
            return;
        case VK_LEFT:
            to = control ? lines_.PreviousWord(caret_) : lines_.Previous(caret_);
            break;
        case VK_RIGHT:
            to = control ? lines_.NextWord(caret_) : lines_.Next(caret_);
            break;
        case VK_UP:
            to = row > 0 ? lines_.PositionAt(row - 1, column) : caret_;
            break;
        case VK_DOWN:
            to = row < lastRow ? lines_.PositionAt(row + 1, column) : caret_;
            break;
        case VK_PRIOR:
            to = lines_.PositionAt(StepBack(row, visibleRows_), column);
            break;
        case VK_NEXT:
            to = lines_.PositionAt(std::min(row + visibleRows_, lastRow), column);
            break;
        case VK_HOME:
            to = control ? 0 : lines_.RowStart(row);
            break;
        case VK_END:
            to = control ? lines_.Size() : lines_.RowLast(row);
            break;
        default:
            return;
    }
    Select(IsKeyDown(VK_SHIFT) ? anchor_ : to, to);
}

void OutputView::OnMouseDown(int x, int y, bool extend) {
    ::SetFocus(Hwnd());
    ::SetCapture(Hwnd());
    const std::size_t at = PositionAtPoint(x, y);
    Select(extend ? anchor_ : at, at);
}

void OutputView::OnMouseDrag(int x, int y) {
    // Past an edge, the view scrolls towards the mouse as the caret follows it.
    Select(anchor_, PositionAtPoint(x, y));
}

void OutputView::OnDoubleClick(int x, int y) {
    const auto [first, second] = lines_.WordAround(PositionAtPoint(x, y));
    Select(first, second);
}

void OutputView::OnContextMenu(int x, int y) {
    POINT at{x, y};
    if (x == -1 && y == -1) {  // from the keyboard: at the caret
        at = POINT{0, 0};
        ::GetCaretPos(&at);
        at.y += lineHeight_;
        ::ClientToScreen(Hwnd(), &at);
    }
    const UniqueMenu menu(::CreatePopupMenu());
    if (menu.Get() == nullptr) {
        return;
    }
    ::AppendMenuA(menu.Get(), MF_STRING | (anchor_ == caret_ ? MF_GRAYED : 0), kCopyCommand,
                  "&Copy\tCtrl+C");
    ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.Get(), MF_STRING, kSelectAllCommand, "Select &All\tCtrl+A");
    ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.Get(), MF_STRING | (wordWrap_ ? MF_CHECKED : 0), kWordWrapCommand,
                  "&Word Wrap");
    const auto chosen = static_cast<UINT>(::TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Hwnd(), nullptr));
    if (chosen == kCopyCommand) {
        CopySelection();
    } else if (chosen == kSelectAllCommand) {
        Select(0, lines_.Size(), false);
    } else if (chosen == kWordWrapCommand) {
        SetWordWrap(!wordWrap_);
    }
}

void OutputView::CopySelection() {
    const std::size_t from = std::min(anchor_, caret_);
    const std::size_t to = std::max(anchor_, caret_);
    if (from == to) {
        return;
    }
    // A copy that fails leaves the clipboard as it was, as an edit box does.
    CopyTextToClipboard(Hwnd(), std::string_view(lines_.Text()).substr(from, to - from));
}

}  // namespace ktv::win32
