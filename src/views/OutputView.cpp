#include "views/OutputView.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Handles.h"
#include "views/ReadOnlyTextAccessible.h"

namespace ktv::win32 {
namespace {

constexpr const char* kClassName = "KTVOutputView";

bool SameScrollInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

// The whole notches in the wheel's movement so far; the rest waits for more.
int TakeNotches(int& rest, int delta) {
    rest += delta;
    const int notches = rest / WHEEL_DELTA;
    rest %= WHEEL_DELTA;
    return notches;
}

}  // namespace

std::size_t OutputView::StepBack(std::size_t value, std::size_t by) {
    return value > by ? value - by : 0;
}

OutputView::OutputView(HINSTANCE instance, HWND parent, int id)
    : codePage_(WindowsCodePage(::GetACP())), lines_(codePage_) {
    ClassOptions classOptions{kClassName};
    classOptions.cursor = IDC_IBEAM;
    classOptions.style = CS_DBLCLKS;
    // The edit box's style bits say what this view is to tools that ask.
    CreateWindowOf(
        instance, classOptions, WS_EX_CLIENTEDGE,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY,
        "", RECT{0, 0, 0, 0}, parent, id);
    OnFontChanged(static_cast<HFONT>(::GetStockObject(ANSI_FIXED_FONT)));
}

void OutputView::Append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    // Not while the user drags a selection: the text would move under the mouse.
    const bool follow = ShowsLastRow() && ::GetCapture() != Hwnd();
    const bool caretAtEnd = anchor_ == caret_ && caret_ == lines_.Size();
    const std::size_t changed = lines_.Append(text);
    if (caretAtEnd) {
        anchor_ = caret_ = lines_.Size();
    } else {
        // A lead byte at the old end may have just been joined by its trail byte.
        anchor_ = lines_.Valid(anchor_);
        caret_ = lines_.Valid(caret_);
    }
    if (follow && firstRow_ != LastFirstRow()) {
        ScrollTo(LastFirstRow(), firstColumn_);
    } else if (changed < firstRow_ + visibleRows_ + 1) {
        // From the first row that changed down, the rows in sight show new text.
        const int top =
            changed > firstRow_ ? static_cast<int>(changed - firstRow_) * lineHeight_ : 0;
        RECT rows{};
        ::GetClientRect(Hwnd(), &rows);
        rows.top = top;
        ::InvalidateRect(Hwnd(), &rows, FALSE);
    }
    UpdateScrollBars();
    PlaceCaret();
}

void OutputView::SetText(std::string_view text) {
    lines_.Clear();
    lines_.Append(text);
    anchor_ = caret_ = 0;
    firstRow_ = firstColumn_ = 0;
    UpdateScrollBars();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    PlaceCaret();
}

void OutputView::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    firstColumn_ = 0;
    OnSize();
}

void OutputView::OnFontChanged(HFONT font) {
    font_ = font;
    WindowDc dc(Hwnd());
    SelectedObject selected(dc.Get(), font_);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.Get(), &metrics);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    // A fixed-pitch font: every character is as wide as the average one.
    charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    if (::GetFocus() == Hwnd()) {
        MakeCaret();  // as high as a line in the new font
    }
    OnSize();
}

void OutputView::OnSize() {
    const bool follow = ShowsLastRow();
    const std::size_t top = lines_.RowStart(firstRow_);
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    visibleRows_ = static_cast<std::size_t>(std::max(1L, client.bottom / lineHeight_));
    visibleColumns_ = static_cast<std::size_t>(std::max(1L, client.right / charWidth_));
    // The text at the top stays in sight as the rows change.
    lines_.WrapAt(wordWrap_ ? visibleColumns_ : 0);
    firstRow_ = follow ? LastFirstRow() : std::min(lines_.RowOf(top), LastFirstRow());
    firstColumn_ = std::min(firstColumn_, LastFirstColumn());
    UpdateScrollBars();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    PlaceCaret();
}

bool OutputView::ShowsLastRow() const {
    return firstRow_ >= LastFirstRow();
}

std::size_t OutputView::LastFirstRow() const {
    return StepBack(lines_.RowCount(), visibleRows_);
}

std::size_t OutputView::LastFirstColumn() const {
    // One column more than the widest line: the caret may stand after it.
    return wordWrap_ ? 0 : StepBack(lines_.WidestLine() + 1, visibleColumns_);
}

void OutputView::ScrollTo(std::size_t firstRow, std::size_t firstColumn) {
    firstRow = std::min(firstRow, LastFirstRow());
    firstColumn = std::min(firstColumn, LastFirstColumn());
    if (firstRow == firstRow_ && firstColumn == firstColumn_) {
        return;
    }
    firstRow_ = firstRow;
    firstColumn_ = firstColumn;
    UpdateScrollBars();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
    PlaceCaret();
}

void OutputView::ShowPosition(std::size_t position) {
    const std::size_t row = lines_.RowOf(position);
    const std::size_t column = lines_.ColumnIn(row, position);
    std::size_t firstRow = firstRow_;
    if (row < firstRow_) {
        firstRow = row;
    } else if (row >= firstRow_ + visibleRows_) {
        firstRow = row + 1 - visibleRows_;
    }
    std::size_t firstColumn = firstColumn_;
    if (column < firstColumn_) {
        firstColumn = column;
    } else if (column >= firstColumn_ + visibleColumns_) {
        firstColumn = column + 1 - visibleColumns_;
    }
    ScrollTo(firstRow, firstColumn);
}

void OutputView::OnScroll(int bar, int request) {
    const bool vertical = bar == SB_VERT;
    const std::size_t page = vertical ? visibleRows_ : visibleColumns_;
    std::size_t position = vertical ? firstRow_ : firstColumn_;
    switch (request) {
        case SB_LINEUP:
            position = StepBack(position, 1);
            break;
        case SB_LINEDOWN:
            ++position;
            break;
        case SB_PAGEUP:
            position = StepBack(position, page);
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = vertical ? LastFirstRow() : LastFirstColumn();
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit position: the message's own is cut to 16 bits.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            ::GetScrollInfo(Hwnd(), bar, &info);
            position = static_cast<std::size_t>(std::max(0, info.nTrackPos));
            break;
        }
        default:
            return;
    }
    if (vertical) {
        ScrollTo(position, firstColumn_);
    } else {
        ScrollTo(firstRow_, position);
    }
}

void OutputView::OnWheel(int delta) {
    UINT linesPerNotch = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    const std::size_t step = linesPerNotch == WHEEL_PAGESCROLL ? visibleRows_ : linesPerNotch;
    const int notches = TakeNotches(wheelRest_, delta);
    const std::size_t rows = step * static_cast<std::size_t>(notches < 0 ? -notches : notches);
    ScrollTo(notches > 0 ? StepBack(firstRow_, rows) : firstRow_ + rows, firstColumn_);
}

void OutputView::OnSidewaysWheel(int delta) {
    UINT charactersPerNotch = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &charactersPerNotch, 0);
    const int notches = TakeNotches(sidewaysWheelRest_, delta);
    const std::size_t columns =
        charactersPerNotch * static_cast<std::size_t>(notches < 0 ? -notches : notches);
    ScrollTo(firstRow_, notches < 0 ? StepBack(firstColumn_, columns) : firstColumn_ + columns);
}

void OutputView::UpdateScrollBars() {
    const auto bar = [](UINT mask, std::size_t last, std::size_t page, std::size_t position) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = mask;
        info.nMax = static_cast<int>(last);
        info.nPage = static_cast<UINT>(page);
        info.nPos = static_cast<int>(position);
        return info;
    };
    // The vertical bar stays, greyed while everything fits, so that the width
    // and with it the columns never change as output arrives.
    const SCROLLINFO vertical = bar(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                                    lines_.RowCount() - 1, visibleRows_, firstRow_);
    // Wrapped, every row fits: the horizontal bar goes.
    const SCROLLINFO horizontal =
        bar(SIF_RANGE | SIF_PAGE | SIF_POS, wordWrap_ ? 0 : lines_.WidestLine(), visibleColumns_,
            firstColumn_);
    // Only a bar that changed is set: under Wine each one set is drawn at
    // once, and a themed bar takes about as long as the lines of text.
    const bool verticalChanged = !SameScrollInfo(vertical, shownVertical_);
    const bool horizontalChanged = !SameScrollInfo(horizontal, shownHorizontal_);
    shownVertical_ = vertical;
    shownHorizontal_ = horizontal;
    if (verticalChanged) {
        ::SetScrollInfo(Hwnd(), SB_VERT, &vertical, TRUE);
    }
    if (horizontalChanged) {
        ::SetScrollInfo(Hwnd(), SB_HORZ, &horizontal, TRUE);  // may resize: see OnSize
    }
}

void OutputView::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Hwnd(), &paint);
    {
        SelectedObject selected(dc, font_);
        RECT client{};
        ::GetClientRect(Hwnd(), &client);
        for (int top = paint.rcPaint.top / lineHeight_ * lineHeight_; top < paint.rcPaint.bottom;
             top += lineHeight_) {
            const RECT rect{0, top, client.right, top + lineHeight_};
            const std::size_t row = firstRow_ + static_cast<std::size_t>(top / lineHeight_);
            if (row < lines_.RowCount()) {
                PaintRow(dc, row, rect);
            } else {
                ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
            }
        }
    }
    ::EndPaint(Hwnd(), &paint);
}

void OutputView::DrawColumns(HDC dc, std::string_view shown, const RECT& part) {
    // In UTF-16 converted from the ANSI code page: ExtTextOutA would read the
    // bytes in the font's own code page, another one when the font chosen
    // lacks the system's script (Japanese bytes drawn as Western letters).
    // Each byte takes one column whatever its glyph's width, so a double-byte
    // character advances two.
    if (!codePage_.HasLeadBytes()) {
        wide_ = WideFromAnsi(shown);  // one character for each byte
        advances_.assign(wide_.size(), charWidth_);
    } else {
        wide_.clear();
        advances_.clear();
        for (std::size_t at = 0; at < shown.size();) {
            const std::size_t length = codePage_.CharLength(shown, at);
            std::wstring character = WideFromAnsi(shown.substr(at, length));
            if (character.empty()) {
                character = L" ";  // nothing the code page makes of it: a blank as wide
            }
            advances_.push_back(static_cast<INT>(length) * charWidth_);
            advances_.resize(advances_.size() + character.size() - 1, 0);
            wide_ += character;
            at += length;
        }
    }
    ::ExtTextOutW(dc, part.left, part.top, ETO_OPAQUE | ETO_CLIPPED, &part, wide_.data(),
                  static_cast<UINT>(wide_.size()), advances_.data());
}

void OutputView::PaintRow(HDC dc, std::size_t row, const RECT& rect) {
    const auto draw = [&](std::size_t firstColumn, std::size_t count, const RECT& part) {
        DrawColumns(dc, lines_.Columns(row, firstColumn, count), part);
    };
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    draw(firstColumn_, visibleColumns_ + 1, rect);

    // The selected part of the row, drawn again in the selection's colours.
    const std::size_t from = std::max(std::min(anchor_, caret_), lines_.RowStart(row));
    const std::size_t to = std::min(std::max(anchor_, caret_), lines_.RowEnd(row));
    if (from >= to) {
        return;
    }
    const std::size_t first = std::max(lines_.ColumnIn(row, from), firstColumn_);
    const std::size_t last = std::min(lines_.ColumnIn(row, to), firstColumn_ + visibleColumns_ + 1);
    if (first >= last) {
        return;
    }
    const RECT part{static_cast<int>(first - firstColumn_) * charWidth_, rect.top,
                    static_cast<int>(last - firstColumn_) * charWidth_, rect.bottom};
    const bool focused = ::GetFocus() == Hwnd();
    ::SetTextColor(dc, ::GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    draw(first, last - first, part);
}

void OutputView::MakeCaret() {
    DWORD width = 1;
    ::SystemParametersInfoA(SPI_GETCARETWIDTH, 0, &width, 0);
    ::CreateCaret(Hwnd(), nullptr, static_cast<int>(width), lineHeight_);  // replaces an old one
    PlaceCaret();
    ::ShowCaret(Hwnd());
}

void OutputView::PlaceCaret() {
    if (::GetFocus() != Hwnd()) {
        return;
    }
    // Out of sight, the caret goes outside the client area.
    const POINT at = PointOf(caret_);
    ::SetCaretPos(at.x, at.y);
}

POINT OutputView::PointOf(std::size_t position) const {
    const std::size_t row = lines_.RowOf(position);
    const auto offset = [](std::size_t value, std::size_t first, int unit) {
        return static_cast<int>((static_cast<long long>(value) - static_cast<long long>(first)) *
                                unit);
    };
    return POINT{offset(lines_.ColumnIn(row, position), firstColumn_, charWidth_),
                 offset(row, firstRow_, lineHeight_)};
}

LRESULT OutputView::GetText(std::size_t capacity, char* buffer) const {
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    const std::size_t count = std::min(capacity - 1, lines_.Size());
    std::memcpy(buffer, lines_.Text().data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT OutputView::GetSelection(DWORD* start, DWORD* end) const {
    const std::size_t from = std::min(anchor_, caret_);
    const std::size_t to = std::max(anchor_, caret_);
    if (start != nullptr) {
        *start = static_cast<DWORD>(from);
    }
    if (end != nullptr) {
        *end = static_cast<DWORD>(to);
    }
    return to > 0xFFFF ? -1 : MAKELRESULT(from, to);
}

void OutputView::SetSelection(WPARAM start, LPARAM end) {
    const auto first = static_cast<int>(start);
    const auto second = static_cast<int>(end);
    if (first == -1) {
        Select(caret_, caret_, false);  // drops the selection, keeps the caret
        return;
    }
    const auto valid = [&](int position) {
        return position < 0 ? lines_.Size() : lines_.Valid(static_cast<std::size_t>(position));
    };
    Select(valid(first), valid(second), false);
}

std::size_t OutputView::RowOfMessage(WPARAM row) const {
    return static_cast<int>(row) == -1 ? lines_.RowOf(caret_) : static_cast<std::size_t>(row);
}

LRESULT OutputView::GetRow(std::size_t row, char* buffer) const {
    if (buffer == nullptr || row >= lines_.RowCount()) {
        return 0;
    }
    // The buffer's first word holds its size; the row goes in without a zero after it.
    WORD capacity = 0;
    std::memcpy(&capacity, buffer, sizeof capacity);
    const std::size_t start = lines_.RowStart(row);
    const std::size_t count = std::min<std::size_t>(capacity, lines_.RowEnd(row) - start);
    std::memcpy(buffer, lines_.Text().data() + start, count);
    return static_cast<LRESULT>(count);
}

LRESULT OutputView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto x = static_cast<short>(LOWORD(lParam));
    const auto y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills every row
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_VSCROLL:
            OnScroll(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            OnScroll(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            if ((GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0) {
                OnSidewaysWheel(-GET_WHEEL_DELTA_WPARAM(wParam));  // away from the user: left
            } else {
                OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            }
            return 0;
        case WM_MOUSEHWHEEL:
            OnSidewaysWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_KEYDOWN:
            OnKey(static_cast<UINT>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnMouseDown(x, y, (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick(x, y);
            return 0;
        case WM_MOUSEMOVE:
            if (::GetCapture() == Hwnd()) {
                OnMouseDrag(x, y);
            }
            return 0;
        case WM_LBUTTONUP:
            if (::GetCapture() == Hwnd()) {
                ::ReleaseCapture();
            }
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(x, y);
            return 0;
        case WM_SETFOCUS:
            MakeCaret();
            ::InvalidateRect(Hwnd(), nullptr, FALSE);  // the selection's colours
            return 0;
        case WM_KILLFOCUS:
            ::DestroyCaret();
            ::InvalidateRect(Hwnd(), nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFONT:
            OnFontChanged(reinterpret_cast<HFONT>(wParam));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(lines_.Size());
        case WM_GETTEXT:
            return GetText(static_cast<std::size_t>(wParam), reinterpret_cast<char*>(lParam));
        case WM_SETTEXT:
            SetText(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
            return TRUE;
        case EM_GETSEL:
            return GetSelection(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
        case EM_SETSEL:
            SetSelection(wParam, lParam);
            return 0;
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(lines_.RowCount());
        case EM_GETFIRSTVISIBLELINE:
            return static_cast<LRESULT>(firstRow_);
        case EM_LINEFROMCHAR:  // -1: the row where the selection starts
            return static_cast<LRESULT>(lines_.RowOf(
                static_cast<int>(wParam) == -1 ? std::min(anchor_, caret_) : lines_.Valid(wParam)));
        case EM_LINEINDEX: {
            const std::size_t row = RowOfMessage(wParam);
            return row < lines_.RowCount() ? static_cast<LRESULT>(lines_.RowStart(row)) : -1;
        }
        case EM_LINELENGTH: {  // of the row that holds the character; -1: the caret's
            const std::size_t row = static_cast<int>(wParam) == -1
                                        ? lines_.RowOf(caret_)
                                        : lines_.RowOf(lines_.Valid(wParam));
            return static_cast<LRESULT>(lines_.RowEnd(row) - lines_.RowStart(row));
        }
        case EM_GETLINE:
            return GetRow(RowOfMessage(wParam), reinterpret_cast<char*>(lParam));
        case EM_POSFROMCHAR: {
            if (wParam > lines_.Size()) {
                return -1;
            }
            const POINT at = PointOf(lines_.Valid(wParam));
            return MAKELRESULT(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
        }
        case EM_CHARFROMPOS: {
            const std::size_t position = PositionAtPoint(x, y);
            return MAKELRESULT(static_cast<WORD>(position),
                               static_cast<WORD>(lines_.RowOf(position)));
        }
        case WM_GETOBJECT:
            if (const LRESULT object = AnswerTextObjectQuery(Hwnd(), wParam, lParam)) {
                return object;
            }
            return Default(message, wParam, lParam);
        case WM_COPY:
            CopySelection();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace ktv::win32
