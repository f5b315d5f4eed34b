#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "console/CaptureSession.h"
#include "platform/win32/GdiObjects.h"
#include "platform/ProcessCapture.h"

namespace ktv::win32 {

// The window captioned "Console Application Output.": one read-only text box
// (`Text2`) filling the client area, in which a program's standard output and
// standard error appear as they arrive. The program is read on another
// thread, so the window keeps answering while it runs.
class CaptureWindow {
public:
    // Creates the window hidden, centred on the screen. `onDestroyed` runs when
    // the window goes away (the user closed it, or this object is destroyed).
    CaptureWindow(HINSTANCE instance, ProcessCapture& capture,
                  std::function<void()> onDestroyed = {});
    CaptureWindow(const CaptureWindow&) = delete;
    CaptureWindow& operator=(const CaptureWindow&) = delete;
    // Destroys the window; a program still running is ended.
    ~CaptureWindow();

    HWND Handle() const { return window_; }
    HWND Text2() const { return text2_; }

    // Shows the window and runs the command line into Text2 (see Redirect).
    void Redir(const std::string& cmd);

    // Runs the command line hidden. Once it has started, `target` (any edit
    // box) is emptied and the program's output is added to it as it arrives;
    // when it cannot be started, nothing happens and the target keeps its
    // text. A program still running from an earlier call is ended first.
    // Returns at once.
    void Redirect(const std::string& cmdLine, HWND target);

    // True from a successful Redirect until the program's output has ended.
    bool IsCapturing() const { return session_ != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void ShowArrivedOutput();
    void ApplyDpi(UINT dpi);

    ProcessCapture& capture_;
    std::function<void()> onDestroyed_;
    HWND window_ = nullptr;
    HWND text2_ = nullptr;
    UniqueFont font_;
    HWND target_ = nullptr;
    std::unique_ptr<CaptureSession> session_;
};

}  // namespace ktv::win32
