#pragma once

#include "platform/win32/WinApi.h"

#include <string_view>

#include "platform/win32/Handles.h"

namespace ktv::win32 {

// The fonts of a window at one DPI: the system's message font, its bold
// variant, and a larger bold one for the title.
struct WindowFonts {
    UniqueFont message;
    UniqueFont bold;
    UniqueFont title;
};

// Builds the fonts from the user's message font (NONCLIENTMETRICS) as it is
// at `dpi`, so that text stays crisp when the window moves between monitors.
WindowFonts CreateWindowFonts(UINT dpi);

// The user's message font alone, at `dpi`.
UniqueFont CreateMessageFont(UINT dpi);

// A fixed-pitch font (Consolas where there is one) of this many points at
// `dpi`, for text that lines up in columns: console output, code.
UniqueFont CreateFixedPitchFont(int points, UINT dpi);

// The size of one line of text drawn with `font` on the device context.
SIZE MeasureText(HDC dc, HFONT font, std::string_view text);

}  // namespace ktv::win32
