#pragma once

#include <chrono>
#include <optional>
#include <utility>
#include <vector>
#include <string>

#include "platform/Processes.h"
#include "platform/StopRequest.h"
#include "platform/WindowRef.h"

namespace ktv {

// Buttons-and-icon values of a message box, as the callers write them.
namespace BoxStyle {
constexpr int OkOnly = 0;
constexpr int Exclamation = 48;
constexpr int Information = 64;
}  // namespace BoxStyle

// The title a message box shows when its caller names none.
inline constexpr const char* kProgramTitle = "KTVDebugger";

// A part of the desktop, in screen pixels.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where a window of this outer size stands centred in the area. A window
// larger than the area starts above and left of it: nothing is clamped.
ScreenPoint CentredIn(const ScreenArea& area, int width, int height);

// Settings of one file-open dialog.
struct FileOpenRequest {
    WindowRef owner = 0;
    std::string initialName;  // "*.bas"
    std::string title;
    std::string initialFolder;  // empty: the dialog's own default
    // Description and pattern pairs, for example {"KTV Basic File (*.bas)", "*.bas"}.
    std::vector<std::pair<std::string, std::string>> filters;
};

// A top-level window and the task (process) it belongs to.
struct TaskWindow {
    WindowRef window = 0;
    TaskId task = 0;
    // The keyboard focus is in a field of this window that takes typed text
    // (an edit field or an editable drop-down), as in a go-to box; not in a
    // question's buttons.
    bool focusInField = false;
    friend bool operator==(const TaskWindow&, const TaskWindow&) = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Brings the top-level window with exactly this title to the front,
    // restored when it or its owner was minimised, and returns it. Throws
    // WindowNotFound when there is none.
    virtual TaskWindow ActivateByTitle(const std::string& title) = 0;

    // Brings one of the program's own windows to the front (0: nothing).
    // Throws WindowNotFound when the window no longer exists.
    virtual void ActivateWindow(WindowRef window) = 0;

    // Brings a visible top-level window of the task to the front and returns
    // it; every minimised window of the task is restored first. The program
    // may hand the activation on to another of its windows (see
    // ActivateTask). Throws WindowNotFound when the task has none.
    virtual TaskWindow ActivateByTask(TaskId task) = 0;

    // The window that has the keyboard now, its task, and whether its focus
    // is in a field to type into; window 0 when none.
    virtual TaskWindow Foreground() = 0;

    // Lets the pending window events run for about this long: the unit of the
    // bounded waits for another program's windows.
    virtual void Pause(std::chrono::milliseconds duration) = 0;

    // Types the key text (see KeyText.h) into the foreground window.
    // Throws InvalidArgument for a key text that does not parse.
    virtual void SendKeys(const std::string& keyText) = 0;

    // Lets the pending window events run once.
    virtual void DoEvents() = 0;

    // The program-wide pointer: the hourglass while true.
    virtual void SetBusyCursor(bool busy) = 0;

    // A modal message box. `buttons` is the buttons-and-icon value (BoxStyle);
    // an empty title shows kProgramTitle. Returns the button pressed (1 = OK).
    virtual int MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                           const std::string& title) = 0;

    // The work area (the screen less the task bar) of the monitor the window
    // is on; the primary monitor's for window 0.
    virtual ScreenArea WorkArea(WindowRef window) = 0;

    // The shell's folder picker; only file-system folders can be confirmed.
    // nullopt when the user cancels or picks something without a path.
    virtual std::optional<std::string> BrowseForFolder(WindowRef owner,
                                                       const std::string& title) = 0;

    // The file-open dialog. nullopt when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileOpenRequest& request) = 0;
};

// Lets the pending window events run `times` times in a row: the counted
// waits that give a started program time to catch up.
void DoEvents(Desktop& desktop, int times);

// What is in front, decided from looks over time rather than from one: a
// window counts once it has been in front, seen the same way (its focus in a
// field or not), for kSettleTime. A new box is in front a moment before its
// field has the focus, and an activated window a moment before its program
// hands the activation on to another of its windows.
class FrontLooks {
public:
    static constexpr std::chrono::milliseconds kPollInterval{25};
    static constexpr std::chrono::milliseconds kSettleTime{50};

    FrontLooks(Desktop& desktop, const StopRequest& stop) : desktop_(desktop), stop_(stop) {}

    // The window in front now; `settled` tells whether it has held as it is
    // for kSettleTime.
    TaskWindow Look(bool& settled);

    // Lets kPollInterval pass, the program's windows answering; false once
    // a stop has been asked for, which ends every wait.
    bool Wait();

private:
    Desktop& desktop_;
    const StopRequest& stop_;
    TaskWindow last_{};
    std::chrono::milliseconds held_{-1};  // how long `last_` has held; -1: no look yet
};

// Waits, at most `bound`, until a window of the task has settled in front,
// and returns it.
std::optional<TaskWindow> SettledWindowOf(Desktop& desktop, TaskId task,
                                          std::chrono::milliseconds bound, const StopRequest& stop);

// Brings the task's window to the front and returns the window of the task
// that is in front once the activation has settled (a program may hand it on
// to another of its windows), trying up to `attempts` times with time
// between tries. Nothing when none came: keys then go to no window, since
// they would land in whichever one is in front.
std::optional<TaskWindow> ActivateTask(Desktop& desktop, TaskId task, int attempts,
                                       const StopRequest& stop);

}  // namespace ktv
