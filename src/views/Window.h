#pragma once

#include "platform/Dpi.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The base of every window of the program: it registers the window class
// once, routes the window procedure to the object that owns the window,
// keeps every exception inside the message boundary (nothing may unwind
// through the system's code) and follows the window's DPI as it moves between
// monitors (WM_DPICHANGED).
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys the window if it is still there.
    virtual ~Window();

    HWND Hwnd() const { return hwnd_; }
    UINT Dpi() const { return dpi_; }

protected:
    Window() = default;

    struct ClassOptions {
        const char* name;
        HICON icon = nullptr;
        HICON smallIcon = nullptr;
        HBRUSH background = nullptr;
        const char* cursor = IDC_ARROW;  // one of the system's cursors
        UINT style = 0;                  // CS_ flags
    };

    // Registers the class (the first time) and creates the window, which gets
    // its messages from WM_NCCREATE on. A child window (WS_CHILD) has
    // `owner` as its parent and `childId` as its control ID. Throws Error
    // when it cannot be made.
    void CreateWindowOf(HINSTANCE instance, const ClassOptions& classOptions, DWORD exStyle,
                        DWORD style, const char* caption, const RECT& frame, HWND owner,
                        int childId = 0);

    // Every message but WM_DPICHANGED and WM_NCDESTROY. The default is the
    // system's handling.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window now shows at another DPI (Dpi() holds it); the default moves
    // it into the rectangle the system suggests.
    virtual void OnDpiChanged(const RECT& suggested);

    // A failure that reached the message boundary; the default tells the
    // user in a box titled with the window's caption.
    virtual void ReportFailure(const char* what);

    // The window has gone (closed by the user, or destroyed by this object).
    virtual void OnDestroyed() {}

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // A length designed at 96 dots per inch, at the window's DPI (ScaleForDpi).
    int Scale(int length) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    UINT dpi_ = kDesignDpi;
};

}  // namespace ktv::win32
