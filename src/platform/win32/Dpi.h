#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The DPI a window shows at, and the system's metrics at a DPI. Windows 10
// (version 1607 on) gives each monitor its own DPI; older systems have one
// for the whole desktop, the system's, so where the per-monitor functions are
// missing these answer for the system DPI. The functions are looked up when
// called, so the program starts on every Windows it supports.
UINT SystemDpi();
UINT WindowDpi(HWND window);
int SystemMetricForDpi(int index, UINT dpi);

// The outer frame of a window of this style around a client rectangle.
RECT FrameAroundClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);

// The system's fonts and sizes of window parts (NONCLIENTMETRICS) at `dpi`.
NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi);

}  // namespace ktv::win32
