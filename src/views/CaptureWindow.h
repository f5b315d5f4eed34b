#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "console/CaptureSession.h"
#include "platform/ProcessCapture.h"
#include "platform/win32/Handles.h"
#include "views/OutputView.h"
#include "views/Window.h"

namespace ktv::win32 {

// The window captioned "Console Application Output.": one read-only text box
// (the output view) filling the client area, in which a program's standard output and
// standard error appear as they arrive. The program is read on another
// thread, so the window keeps answering while it runs.
class CaptureWindow : public Window {
public:
    // The text box's control ID, by which tests find it.
    static constexpr int kOutputViewId = 1601;

    // While output pours in, what has arrived is shown at most this often;
    // the first output after a pause shows at once.
    static constexpr std::chrono::milliseconds kShowInterval{40};

    // Creates the window hidden, centred on the screen. `onDestroyed` runs when
    // the user has closed the window.
    CaptureWindow(HINSTANCE instance, ProcessCapture& capture,
                  std::function<void()> onDestroyed = {});
    // Destroys the window; a program still running is ended.
    ~CaptureWindow() override;

    // Shows the window and runs the command line into its output view (see RunInto).
    void ShowAndRun(const std::string& cmd);

    // Runs the command line hidden. Once it has started, `target` is emptied
    // and the program's output is added to it as it arrives; when it cannot
    // be started, nothing happens and the target keeps its text. A program
    // still running from an earlier call is ended first. Returns at once.
    void RunInto(const std::string& cmdLine, OutputView& target);

private:
    using Clock = std::chrono::steady_clock;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void OnDestroyed() override;
    void OnOutputWaiting();
    void ShowArrivedOutput();
    void ApplyFont();

    ProcessCapture& capture_;
    std::function<void()> onDestroyed_;
    std::unique_ptr<OutputView> outputView_;
    UniqueFont font_;
    OutputView* target_ = nullptr;
    std::unique_ptr<CaptureSession> session_;
    Clock::time_point lastShown_{};
    bool showTimerSet_ = false;
};

}  // namespace ktv::win32
