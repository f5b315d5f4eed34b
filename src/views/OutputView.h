#pragma once

#include <string_view>
#include <vector>

#include "console/OutputLines.h"
#include "views/Window.h"

namespace ktv::win32 {

// A read-only view of a long, growing text in a fixed-pitch font: the capture
// window's box. It draws only the lines in sight from a line index, so adding
// output costs the same at 10 MB as in an empty box (an EDIT control lays out
// its whole text again under Wine, which made each append grow with the text).
//
// What users expect of such a box stays: selecting with the mouse (a double
// click takes a word) and the keyboard, Ctrl+A, Ctrl+C and a Copy menu,
// scrolling by bars, wheel and keys, and a view that follows new text unless
// the user has scrolled away from the end. It answers WM_GETTEXT,
// WM_GETTEXTLENGTH, WM_SETTEXT, EM_GETSEL, EM_SETSEL, EM_GETLINECOUNT,
// EM_GETFIRSTVISIBLELINE, WM_COPY and WM_SETFONT as an edit box does.
class OutputView : public Window {
public:
    // Creates the view as a child of `parent` with this control ID.
    OutputView(HINSTANCE instance, HWND parent, int id);

    // Adds the text at the end. The selection stays; a caret at the end
    // moves on with it; the view follows when it showed the last line.
    void Append(std::string_view text);
    void SetText(std::string_view text);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Layout and scrolling
    void OnFontChanged(HFONT font);
    void OnSize();
    bool ShowsLastLine() const;
    std::size_t LastFirstLine() const;
    std::size_t LastFirstColumn() const;
    void ScrollTo(std::size_t firstLine, std::size_t firstColumn);
    void OnScroll(int bar, int request);
    void OnWheel(int delta);
    void UpdateScrollBars();
    void ShowPosition(std::size_t position);

    // Painting
    void OnPaint();
    void PaintLine(HDC dc, std::size_t line, const RECT& row);
    void MakeCaret();
    void PlaceCaret();

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

    LRESULT GetText(std::size_t capacity, char* buffer) const;
    LRESULT GetSelection(DWORD* start, DWORD* end) const;
    void SetSelection(WPARAM start, LPARAM end);

    OutputLines lines_;
    HFONT font_ = nullptr;  // the owner's; WM_SETFONT hands it over
    int lineHeight_ = 16;
    int charWidth_ = 8;
    std::vector<INT> advances_;  // one column each, for ExtTextOut

    std::size_t visibleLines_ = 1;    // whole lines in the client area
    std::size_t visibleColumns_ = 1;  // whole columns in the client area
    std::size_t firstLine_ = 0;
    std::size_t firstColumn_ = 0;
    std::size_t anchor_ = 0;  // the selection runs from the anchor to the caret
    std::size_t caret_ = 0;
    int wheelRest_ = 0;  // wheel movement short of a line
    SCROLLINFO shownVertical_{};
    SCROLLINFO shownHorizontal_{};
};

}  // namespace ktv::win32
