#pragma once

#include <functional>
#include <memory>
#include <string>

#include "console/CaptureSession.h"
#include "platform/ProcessCapture.h"
#include "platform/win32/Handles.h"
#include "views/Window.h"

namespace ktv::win32 {

// The window captioned "Console Application Output.": one read-only text box
// (`Text2`) filling the client area, in which a program's standard output and
// standard error appear as they arrive. The program is read on another
// thread, so the window keeps answering while it runs.
class CaptureWindow : public Window {
public:
    // The text box's control ID, by which tests find it.
    static constexpr int kText2Id = 1601;

    // Creates the window hidden, centred on the screen. `onDestroyed` runs when
    // the user has closed the window.
    CaptureWindow(HINSTANCE instance, ProcessCapture& capture,
                  std::function<void()> onDestroyed = {});
    // Destroys the window; a program still running is ended.
    ~CaptureWindow() override;

    // Shows the window and runs the command line into Text2 (see Redirect).
    void Redir(const std::string& cmd);

    // Runs the command line hidden. Once it has started, `target` (any edit
    // box) is emptied and the program's output is added to it as it arrives;
    // when it cannot be started, nothing happens and the target keeps its
    // text. A program still running from an earlier call is ended first.
    // Returns at once.
    void Redirect(const std::string& cmdLine, HWND target);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void OnDestroyed() override;
    void ShowArrivedOutput();
    void ApplyFont();

    ProcessCapture& capture_;
    std::function<void()> onDestroyed_;
    HWND text2_ = nullptr;
    UniqueFont font_;
    HWND target_ = nullptr;
    std::unique_ptr<CaptureSession> session_;
};

}  // namespace ktv::win32
