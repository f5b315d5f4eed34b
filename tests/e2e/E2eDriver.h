#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Drives KTVDebugger.exe from outside, through its windows, as a user would:
// the test and the program are separate processes. Every wait is bounded, so a
// failing test ends instead of hanging.
namespace ktv::e2e {

using Milliseconds = std::chrono::milliseconds;

inline constexpr Milliseconds kStartTimeout{30000};
inline constexpr Milliseconds kBoxTimeout{30000};
inline constexpr Milliseconds kSendTimeout{5000};

// Thrown when the driver cannot do what it was asked (no window, a timeout).
class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A host path as the program sees it: under Wine a Unix path such as
// /work/build is the Windows path Z:\work\build.
std::string ToWindowsPath(const std::string& path);

// The window's outer rectangle on the screen.
RECT WindowRectangle(HWND window);

// Saves what the screen shows in `area` as a 24-bit BMP file.
void SaveScreenshot(const RECT& area, const std::string& bmpPath);

// A visible top-level window of the process (any process for 0) with this
// class and title (null: any), or null.
HWND FindTopLevel(DWORD processId, const char* className, const char* title);

// Polls `condition` until it holds or `timeout` passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout);

// One test's own copy of the program and the tools, in a fresh temporary
// folder, so that the settings file and the tools' files are private:
//   <root>\KTVDebugger.exe
//   <root>\lcc\bin\lrc.exe, lcc.exe, lcclnk.exe, builtprog.exe
//   <root>\ktv\bin\ktvc.exe
//   <root>\work\prog.bas   (with a $SOURCE line)
class TestLayout {
public:
    // `program` is KTVDebugger.exe, `standins` the folder of the stand-ins.
    TestLayout(const std::string& program, const std::string& standins);
    TestLayout(const TestLayout&) = delete;
    TestLayout& operator=(const TestLayout&) = delete;
    ~TestLayout();

    // Keeps the folder after the test (for a look at a failure).
    void Keep() { keep_ = true; }

    const std::string& Root() const { return root_; }
    std::string Program() const { return root_ + "\\KTVDebugger.exe"; }
    std::string LccDir() const { return root_ + "\\lcc"; }
    std::string KtvDir() const { return root_ + "\\ktv"; }
    std::string WorkDir() const { return root_ + "\\work"; }
    std::string BasicFile() const { return WorkDir() + "\\prog.bas"; }

    // Paths below are relative to the root.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void Remove(const std::string& relative) const;

    // The lines of work\standins.log: one per stand-in run.
    std::vector<std::string> LogLines() const;
    // The logged command lines of one stand-in ("ktvc", "lcclnk", ...).
    std::vector<std::string> CommandLinesOf(const std::string& program) const;

private:
    std::string root_;
    bool keep_ = false;
};

enum class IconKind { None, Information, Exclamation, Error, Unknown };

const char* IconName(IconKind kind);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string title;
    std::string text;
    IconKind icon = IconKind::Unknown;
};

// One running KTVDebugger.exe. The destructor ends it if it still runs.
class AppSession {
public:
    // Starts the program in `workingDirectory` and waits for its main window.
    AppSession(const std::string& program, const std::string& workingDirectory);
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;
    ~AppSession();

    HWND MainWindow() const { return mainWindow_; }
    DWORD ProcessId() const { return processId_; }

    // A control of the main window by its ID; throws when there is none.
    HWND Control(int id) const;

    void SetText(int id, const std::string& text) const;
    std::string Text(int id) const;
    // Posted, so that a modal box the click opens does not block the test.
    void Click(int id) const;
    // Brings the main window to the front, as a click on it would.
    bool Activate() const;
    // Types one key into whatever window has the keyboard focus.
    void PressKey(WORD virtualKey) const;
    // The control of the program that has the keyboard focus, or null.
    HWND FocusedControl() const;

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int CheckState(int id) const;
    bool IsEnabled(int id) const;
    bool IsMainWindowEnabled() const;

    // A visible message box (dialog class #32770) of the program, or nullopt
    // when none shows within `timeout`.
    std::optional<MessageBoxInfo> WaitForMessageBox(Milliseconds timeout = kBoxTimeout) const;
    // Presses OK and waits until the box has gone.
    void PressOk(const MessageBoxInfo& box) const;

    // Waits until a Debug run has finished: the window and its Debug button
    // are enabled again and no box is open.
    bool WaitUntilIdle(Milliseconds timeout = kBoxTimeout) const;

    // Sends WM_CLOSE, as the close box does, and waits for the process to end.
    bool Close(Milliseconds timeout = kStartTimeout);
    bool WaitForExit(Milliseconds timeout);
    bool HasExited() const;

private:
    std::optional<HWND> FindMessageBox() const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND mainWindow_ = nullptr;
};

}  // namespace ktv::e2e
