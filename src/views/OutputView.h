#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "console/OutputLines.h"
#include "views/Window.h"

namespace ktv::win32 {

// A read-only view of a long, growing text in a fixed-pitch font: the capture
// window's box. It draws only the rows in sight from a line index, so adding
// output costs the same at 10 MB as in an empty box (an EDIT control lays out
// its whole text again under Wine, which made each append grow with the text).
//
// What users expect of such a box stays: long lines wrapped at the view's
// width (Word Wrap in its menu, on at first) or scrolled sideways; selecting
// with the mouse (a double click takes a word) and the keyboard, by
// characters, words (Ctrl), rows and pages, Ctrl+A, Ctrl+C and a Copy menu;
// scrolling by bars, keys, the wheel, a sideways wheel and Shift+wheel; a view
// that follows new text unless the user has scrolled away from the end. A
// double-byte character of the ANSI code page is never split.
//
// It answers as a read-only multi-line edit box does, so that screen readers
// and tools can read it: WM_GETTEXT, WM_GETTEXTLENGTH, WM_SETTEXT, EM_GETSEL,
// EM_SETSEL, EM_GETLINECOUNT, EM_GETFIRSTVISIBLELINE, EM_LINEFROMCHAR,
// EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE, EM_POSFROMCHAR, EM_CHARFROMPOS,
// WM_COPY and WM_SETFONT, with lines counted as the rows shown; and
// WM_GETOBJECT with an accessible object of the role of text, named after the
// top-level window's title (see ReadOnlyTextAccessible.h).
class OutputView : public Window {
public:
    // Creates the view as a child of `parent` with this control ID.
    OutputView(HINSTANCE instance, HWND parent, int id);

    // Adds the text at the end. The selection stays; a caret at the end
    // moves on with it; the view follows when it showed the last row.
    void Append(std::string_view text);
    void SetText(std::string_view text);
    // Wraps long lines at the view's width, or shows each line as one row.
    void SetWordWrap(bool wrap);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Layout and scrolling
    static std::size_t StepBack(std::size_t value, std::size_t by);  // never below 0
    void OnFontChanged(HFONT font);
    void OnSize();
    bool ShowsLastRow() const;
    std::size_t LastFirstRow() const;
    std::size_t LastFirstColumn() const;
    void ScrollTo(std::size_t firstRow, std::size_t firstColumn);
    void OnScroll(int bar, int request);
    void OnWheel(int delta);
    void OnSidewaysWheel(int delta);  // to the right when positive
    void UpdateScrollBars();
    void ShowPosition(std::size_t position);

    // Painting
    void OnPaint();
    void PaintRow(HDC dc, std::size_t row, const RECT& rect);
    void DrawColumns(HDC dc, std::string_view shown, const RECT& part);
    void MakeCaret();
    void PlaceCaret();
    // Where the position is drawn, in client coordinates.
    POINT PointOf(std::size_t position) const;

    // Selection and input
    // Moves the selection; `show` scrolls the caret into sight.
    void Select(std::size_t anchor, std::size_t caret, bool show = true);
    std::size_t PositionAtPoint(int x, int y) const;
    void OnKey(UINT key);
    void OnMouseDown(int x, int y, bool extend);
    void OnMouseDrag(int x, int y);
    void OnDoubleClick(int x, int y);
    void OnContextMenu(int x, int y);
    void CopySelection();

    // The edit box's messages
    LRESULT GetText(std::size_t capacity, char* buffer) const;
    LRESULT GetSelection(DWORD* start, DWORD* end) const;
    void SetSelection(WPARAM start, LPARAM end);
    LRESULT GetRow(std::size_t row, char* buffer) const;
    // The row a line message means: -1 for the caret's.
    std::size_t RowOfMessage(WPARAM row) const;

    const CodePage codePage_;  // the ANSI code page's, as the system knows it
    OutputLines lines_;
    HFONT font_ = nullptr;  // the owner's; WM_SETFONT hands it over
    int lineHeight_ = 16;
    int charWidth_ = 8;
    std::wstring wide_;          // a row's text for ExtTextOutW
    std::vector<INT> advances_;  // and where each of its characters goes

    bool wordWrap_ = true;            // as the edit box this view replaced
    std::size_t visibleRows_ = 1;     // whole rows in the client area
    std::size_t visibleColumns_ = 1;  // whole columns in the client area
    std::size_t firstRow_ = 0;
    std::size_t firstColumn_ = 0;
    std::size_t anchor_ = 0;  // the selection runs from the anchor to the caret
    std::size_t caret_ = 0;
    int wheelRest_ = 0;  // wheel movement short of a notch
    int sidewaysWheelRest_ = 0;
    SCROLLINFO shownVertical_{};
    SCROLLINFO shownHorizontal_{};
};

}  // namespace ktv::win32
