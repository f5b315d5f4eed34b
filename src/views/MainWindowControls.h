#pragma once

#include <span>
#include <string_view>

#include "model/MainWindowLayout.h"
#include "platform/win32/WinApi.h"
#include "views/WindowFonts.h"

namespace ktv::win32 {

enum class FontRole { Message, Bold, Title };

// One control of the main window: its ID (by which the model, the layout and
// the tests know it) beside its window class, caption, style and font.
struct ChildEntry {
    int id;
    const char* className;  // null: painted by the window
    const char* text;       // null: the model supplies it
    DWORD style;            // a painted one is drawn left-aligned on one line
    FontRole font;
};

// Every control of the main window, in creation order, which is the tab
// order: row by row from the top.
std::span<const ChildEntry> MainWindowChildren();

// The caption of a control of the table; empty for an ID it does not hold.
std::string_view CaptionOf(int id);

HFONT FontFor(const WindowFonts& fonts, FontRole role);

// Makes every child window of the table in its place and font; under Wine
// each one moved or given a font afterwards costs as much again. Throws
// Error when one cannot be made.
void CreateChildControls(HWND parent, HINSTANCE instance, const MainWindowLayout& layout,
                         const WindowFonts& fonts);

// Gives every child window the font of its role, and moves each to its place
// in the layout: after the window's DPI or the user's font has changed.
void RefitChildControls(HWND parent, const MainWindowLayout& layout, const WindowFonts& fonts);

}  // namespace ktv::win32
