#include "views/WindowFonts.h"

#include "platform/Dpi.h"
#include "platform/win32/Dpi.h"

namespace ktv::win32 {

namespace {

// The system's font descriptions at a DPI are wide-character ones, so the
// fonts are made from the wide form throughout.
LOGFONTW MessageFontAt(UINT dpi) {
    LOGFONTW font = NonClientMetricsForDpi(dpi).lfMessageFont;
    if (font.lfHeight == 0) {
        font.lfHeight = -PointsToPixels(9, static_cast<int>(dpi));
    }
    font.lfQuality = DEFAULT_QUALITY;  // as the user set font smoothing
    return font;
}

}  // namespace

UniqueFont CreateMessageFont(UINT dpi) {
    const LOGFONTW font = MessageFontAt(dpi);
    return UniqueFont(::CreateFontIndirectW(&font));
}

UniqueFont CreateFixedPitchFont(int points, UINT dpi) {
    return UniqueFont(::CreateFontA(-PointsToPixels(points, static_cast<int>(dpi)), 0, 0, 0,
                                    FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    FIXED_PITCH | FF_MODERN, "Consolas"));
}

WindowFonts CreateWindowFonts(UINT dpi) {
    const LOGFONTW base = MessageFontAt(dpi);
    LOGFONTW bold = base;
    bold.lfWeight = FW_BOLD;
    LOGFONTW title = bold;
    title.lfHeight = base.lfHeight * 17 / 10;

    WindowFonts fonts;
    fonts.message.Reset(::CreateFontIndirectW(&base));
    fonts.bold.Reset(::CreateFontIndirectW(&bold));
    fonts.title.Reset(::CreateFontIndirectW(&title));
    return fonts;
}

SIZE MeasureText(HDC dc, HFONT font, std::string_view text) {
    SelectedObject selected(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    if (text.empty()) {
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        size.cy = metrics.tmHeight;
    }
    return size;
}

}  // namespace ktv::win32
