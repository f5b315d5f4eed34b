#pragma once

#include "model/MainWindowLayout.h"
#include "platform/win32/WinApi.h"
#include "views/WindowFonts.h"

namespace ktv::win32 {

// Measures the main window's texts in its fonts at `dpi`: what the layout
// needs to place every control without clipping its text.
MainWindowMetrics MeasureMainWindow(const WindowFonts& fonts, UINT dpi);

}  // namespace ktv::win32
