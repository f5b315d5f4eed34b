#pragma once

#include <functional>
#include <utility>

#include "platform/Desktop.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Windows of other programs, keystrokes, the message queue, the pointer and
// the standard dialogs, on the calling (user-interface) thread.
class Win32Desktop : public Desktop {
public:
    TaskWindow ActivateByTitle(const std::string& title) override;
    void ActivateWindow(WindowRef window) override;
    TaskWindow ActivateByTask(TaskId task) override;
    TaskWindow Foreground() override;
    void Pause(std::chrono::milliseconds duration) override;
    void SendKeys(const std::string& keyText) override;
    void DoEvents() override;
    void SetBusyCursor(bool busy) override;
    int MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                   const std::string& title) override;
    ScreenArea WorkArea(WindowRef window) override;
    std::optional<std::string> BrowseForFolder(WindowRef owner, const std::string& title) override;
    std::optional<std::string> OpenFileDialog(const FileOpenRequest& request) override;

    // Whether the busy pointer is wanted: a window's WM_SETCURSOR asks this,
    // so the pointer stays busy wherever it moves over the program.
    bool IsBusy() const { return busy_; }

    // Shown while the program works and its windows still take input.
    static const char* BusyCursor() { return IDC_APPSTARTING; }

    // Sees each message DoEvents takes before it is dispatched, as the
    // program's own message loop does (the dialog manager's Tab, Esc and
    // Enter); true when it used the message up.
    void SetMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }

    // DoEvents handles at most this many messages per call, so a window that
    // keeps posting to itself cannot hold the caller forever.
    static constexpr int kMaxMessagesPerPass = 10000;

private:
    bool busy_ = false;
    std::function<bool(MSG&)> filter_;
};

}  // namespace ktv::win32
