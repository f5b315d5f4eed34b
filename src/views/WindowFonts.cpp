#include "views/WindowFonts.h"

namespace ktv::win32 {

namespace {

// SystemParametersInfoForDpi exists only as a wide-character function, so the
// font description is the wide one throughout.
LOGFONTW MessageFontAt(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) ==
        FALSE) {
        // Systems without the per-DPI query: the classic call gives the font at
        // the system DPI, which is then scaled to the window's.
        metrics = NONCLIENTMETRICSW{};
        metrics.cbSize = sizeof(metrics);
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        const UINT systemDpi = ::GetDpiForSystem();
        if (systemDpi != 0 && systemDpi != dpi) {
            metrics.lfMessageFont.lfHeight = ::MulDiv(
                metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi));
        }
    }
    LOGFONTW font = metrics.lfMessageFont;
    if (font.lfHeight == 0) {
        font.lfHeight = -::MulDiv(9, static_cast<int>(dpi), 72);
    }
    font.lfQuality = DEFAULT_QUALITY;  // as the user set font smoothing
    return font;
}

}  // namespace

UniqueFont CreateMessageFont(UINT dpi) {
    const LOGFONTW font = MessageFontAt(dpi);
    return UniqueFont(::CreateFontIndirectW(&font));
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
