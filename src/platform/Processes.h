#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/StopRequest.h"

namespace ktv {

// Identifies a program started without waiting; windows are found by it.
using TaskId = std::uint32_t;

// How a started program's main window is shown. The numbers are the ones the
// program's callers have always used (0 hidden, 1 normal, 2 minimised, 3
// maximised, each with the focus).
enum class WindowStyle : int {
    Hidden = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    MaximizedFocus = 3,
};

class Processes {
public:
    virtual ~Processes() = default;

    // Runs the command line with no visible window in the current directory and
    // waits for it to end; the calling thread's windows keep answering
    // meanwhile. The exit code is not looked at. Throws StartFailed when the
    // program cannot be started. When `stop` is requested before it ends, it
    // and every process it started are ended, and RunStopped is thrown.
    virtual void RunHidden(const std::string& commandLine, const StopRequest& stop) = 0;

    // Starts the command line without waiting and returns its task id.
    // Throws StartFailed when the program cannot be started.
    virtual TaskId Start(const std::string& commandLine, WindowStyle style) = 0;

    // Waits, at most `bound`, until the started program is idle waiting for
    // input (its first window is up). False when the bound passed first or the
    // task is unknown or already ended.
    virtual bool WaitUntilReady(TaskId task, std::chrono::milliseconds bound) = 0;
};

}  // namespace ktv
