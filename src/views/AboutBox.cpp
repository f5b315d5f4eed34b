#include "views/AboutBox.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Monitors.h"
#include "views/resource.h"

namespace ktv::win32 {
namespace {

// What the dialog keeps while it is up: the banner picture and the font of
// the underlined contact line.
struct AboutState {
    HINSTANCE instance;
    UniqueBitmap banner;
    UniqueFont underlined;
};

void UnderlineContactLine(HWND dialog, AboutState& state) {
    LOGFONTA font{};
    const auto dialogFont = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || ::GetObjectA(dialogFont, sizeof font, &font) == 0) {
        return;
    }
    font.lfUnderline = TRUE;
    state.underlined.Reset(::CreateFontIndirectA(&font));
    ::SendDlgItemMessageA(dialog, IDC_ABOUT_CONTACT, WM_SETFONT,
                          reinterpret_cast<WPARAM>(state.underlined.Get()), FALSE);
}

// The banner fills its owner-drawn frame at the top left, scaled to the
// dialog's size at this DPI.
void DrawBanner(const DRAWITEMSTRUCT& item, const AboutState& state) {
    BITMAP picture{};
    if (!state.banner || ::GetObjectA(state.banner.Get(), sizeof picture, &picture) == 0) {
        ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        return;
    }
    UniqueMemoryDc source(::CreateCompatibleDC(item.hDC));
    SelectedObject selected(source.Get(), state.banner.Get());
    ::SetStretchBltMode(item.hDC, HALFTONE);
    ::StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                 item.rcItem.bottom - item.rcItem.top, source.Get(), 0, 0, picture.bmWidth,
                 picture.bmHeight, SRCCOPY);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AboutState*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<AboutState*>(lParam);
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            state->banner.Reset(static_cast<HBITMAP>(
                ::LoadImageA(state->instance, MAKEINTRESOURCEA(IDB_ABOUT_BANNER), IMAGE_BITMAP, 0,
                             0, LR_CREATEDIBSECTION)));
            UnderlineContactLine(dialog, *state);
            // Centred as it opens, whatever the user did the time before.
            CentreOnOwnersMonitor(dialog, ::GetWindow(dialog, GW_OWNER));
            return TRUE;  // the focus goes to "Close", the first tab stop
        case WM_DRAWITEM:
            if (state != nullptr && wParam == IDC_ABOUT_BANNER) {
                DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), *state);
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            // "Close", Enter (the default button) and Esc (IDCANCEL).
            if (LOWORD(wParam) == IDC_ABOUT_CLOSE || LOWORD(wParam) == IDOK ||
                LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    AboutState state{instance, {}, {}};
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, &AboutProc,
                      reinterpret_cast<LPARAM>(&state));
}

}  // namespace ktv::win32
