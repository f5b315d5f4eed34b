#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WinApi.h"

// Drives KTVDebugger.exe from outside, through its windows, as a user would:
// the driver (a test, the ./run demo, a benchmark) and the program are
// separate processes. Every wait is bounded, so a run that goes wrong ends
// instead of hanging.
namespace ktv::driver {

using Milliseconds = std::chrono::milliseconds;

using DriverError = std::runtime_error;

// A host path as the program sees it: /work/build is Z:\work\build.
std::string ToWindowsPath(std::string path);

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = Milliseconds(30000));

// A visible top-level window of the process (any process for 0) with this
// class and title (null: any), or null.
HWND FindTopLevel(DWORD processId, const char* className, const char* title);

// What WM_GETTEXT gives, which works across processes.
std::string TextOf(HWND window);

// The ids of the running processes with this file name ("ktvc.exe").
std::vector<DWORD> ProcessesNamed(const std::string& exeName);

// Whether the process has ended (or never was).
bool HasEnded(DWORD processId);

// One test's own copy of the program and the tools, in a fresh temporary
// folder, so that the settings file and the tools' files are private:
//   <root>\KTVDebugger.exe, <root>\lcc\bin\ (lrc, lcc, lcclnk, builtprog),
//   <root>\ktv\bin\ktvc.exe, <root>\work\prog.bas (with a $SOURCE line)
class TestLayout {
public:
    TestLayout(const std::string& program, const std::string& standins);
    TestLayout(const TestLayout&) = delete;
    TestLayout& operator=(const TestLayout&) = delete;
    ~TestLayout();

    const std::string& Root() const { return root_; }
    std::string Program() const { return root_ + "\\KTVDebugger.exe"; }
    std::string LccDir() const { return root_ + "\\lcc"; }
    std::string KtvDir() const { return root_ + "\\ktv"; }
    std::string WorkDir() const { return root_ + "\\work"; }
    std::string BasicFile() const { return WorkDir() + "\\prog.bas"; }

    // Paths below are relative to the root.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& relative) const;
    void Copy(const std::string& from, const std::string& toRelative) const;
    // The logged command lines of one stand-in ("ktvc", "lcclnk", ...).
    std::vector<std::string> CommandLinesOf(const std::string& program) const;
    // The names in a folder, sorted, but for the stand-ins' own log.
    std::vector<std::string> List(const std::string& relative) const;

private:
    std::string root_;
};

// Sends the window a message every few milliseconds from a thread of its
// own, and keeps the longest it took to answer one, while it lives.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window);
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;
    ~AnswerWatch();

    Milliseconds Longest() const { return Milliseconds(longestMs_.load()); }

private:
    std::atomic<bool> done_{false};
    std::atomic<long long> longestMs_{0};
    std::thread thread_;
};

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string title;
    std::string text;
};

// One running KTVDebugger.exe. The destructor ends it if it still runs.
class AppSession {
public:
    AppSession(const std::string& program, const std::string& workingDirectory);
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;
    ~AppSession();

    HWND MainWindow() const { return mainWindow_; }
    DWORD ProcessId() const { return processId_; }
    HWND Control(int id) const { return ::GetDlgItem(mainWindow_, id); }
    void SetText(int id, const std::string& text) const;
    // Posted, so that a modal box the click opens does not block the test.
    void Click(int id) const { ::PostMessageA(Control(id), BM_CLICK, 0, 0); }
    int CheckState(int id) const;  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    // Clicks a check box or option button until it shows this state.
    void Set(int id, int state) const;

    // The program's first visible dialog (class #32770), or nothing in time.
    std::optional<MessageBoxInfo> WaitForBox() const;
    void PressOk(const MessageBoxInfo& box) const;
    // A run is under way: Debug reads "Stop".
    bool IsRunning() const;
    // A Debug run has finished (IsRunning no more) and no box is up.
    bool WaitUntilIdle() const;
    // WM_CLOSE, as the close box does; true when the process has ended.
    bool Close();
    bool HasExited() const { return ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND mainWindow_ = nullptr;
};

}  // namespace ktv::driver
