#include "platform/win32/Dpi.h"

#include <initializer_list>

#include "platform/Dpi.h"
#include "platform/win32/Handles.h"

namespace ktv::win32 {
namespace {

// The per-monitor functions of Windows 10, declared here because the program
// is built for Windows 7, whose headers do not name them.
using GetDpiForSystemFunction = UINT WINAPI();
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);

// A function of user32 that older systems lack, typed as `Function`; null
// there. user32 is loaded in every program with a window.
template <typename Function>
Function* User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleA("user32.dll");
    if (user32 == nullptr) {
        return nullptr;
    }
    // FARPROC to the real type: the only way to call what GetProcAddress finds.
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

// A length the system gives at its own DPI, at another one.
int FromSystemDpi(int length, UINT dpi) {
    const UINT system = SystemDpi();
    return system == dpi ? length
                         : ScaleLength(length, static_cast<int>(dpi), static_cast<int>(system));
}

}  // namespace

UINT SystemDpi() {
    if (const auto get = User32Function<GetDpiForSystemFunction>("GetDpiForSystem")) {
        return get();
    }
    const WindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT WindowDpi(HWND window) {
    if (const auto get = User32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
        if (const UINT dpi = get(window); dpi != 0) {
            return dpi;
        }
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    if (const auto get = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi")) {
        return get(index, dpi);
    }
    return FromSystemDpi(::GetSystemMetrics(index), dpi);
}

RECT FrameAroundClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    RECT frame = client;
    if (const auto adjust =
            User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi")) {
        adjust(&frame, style, FALSE, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    // The per-DPI query exists only as a wide-character function.
    const auto forDpi =
        User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    if (forDpi != nullptr &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) != FALSE) {
        return metrics;
    }
    // The classic query answers at the system DPI: its fonts are scaled.
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont}) {
        font->lfHeight = FromSystemDpi(font->lfHeight, dpi);
    }
    return metrics;
}

}  // namespace ktv::win32
