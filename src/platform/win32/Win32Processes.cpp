#include "platform/win32/Win32Processes.h"

#include <algorithm>
#include <vector>

#include "platform/win32/SystemMessage.h"
#include "platform/win32/ToolJob.h"
#include "platform/win32/WinApi.h"
#include "text/Errors.h"

namespace ktv::win32 {
namespace {

struct ProcessHandles {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD id = 0;
};

WORD ShowCommand(WindowStyle style) {
    switch (style) {
        case WindowStyle::Hidden:
            return SW_HIDE;
        case WindowStyle::NormalFocus:
            return SW_SHOWNORMAL;
        case WindowStyle::MinimizedFocus:
            return SW_SHOWMINIMIZED;
        case WindowStyle::MaximizedFocus:
            return SW_SHOWMAXIMIZED;
    }
    return SW_SHOWNORMAL;
}

// How often a hidden run looks at the stop request while nothing else wakes it.
constexpr DWORD kStopPollMs = 50;

// Starts the command line in the current directory, sharing no handles with
// the new process. Throws StartFailed naming the command.
ProcessHandles CreateWithShowCommand(const std::string& commandLine, WORD showCommand,
                                     DWORD flags = 0) {
    if (commandLine.empty()) {
        throw StartFailed("Cannot start a program: the command line is empty");
    }
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                          nullptr, &startup, &info)) {
        throw StartFailed(DescribeLastError("Cannot start", commandLine));
    }
    return ProcessHandles{UniqueHandle(info.hProcess), UniqueHandle(info.hThread),
                          info.dwProcessId};
}

bool HasEnded(const UniqueHandle& process) {
    return ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

}  // namespace

void Win32Processes::RunHidden(const std::string& commandLine, const StopRequest& stop) {
    if (stop.Requested()) {
        throw RunStopped();
    }
    // Suspended until it is in its job, so that nothing it starts escapes it.
    ToolJob job;
    const ProcessHandles started = CreateWithShowCommand(commandLine, SW_HIDE, CREATE_SUSPENDED);
    job.Take(started.process.Get());
    ::ResumeThread(started.thread.Get());
    // The build tools are waited for without a bound (each one reads what the
    // one before it wrote), but never deaf: the windows' messages are handled
    // as they come, and a stop is looked at between them.
    const HANDLE process = started.process.Get();
    for (;;) {
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &process, kStopPollMs, QS_ALLINPUT,
                                                         MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            return;  // whatever the tool left running goes with the job
        }
        if (woke == WAIT_OBJECT_0 + 1 && pumpMessages_) {
            pumpMessages_();
        } else if (woke == WAIT_FAILED) {
            ::WaitForSingleObject(process, kStopPollMs);
        }
        if (stop.Requested()) {
            job.EndAll(process, started.id);
            throw RunStopped();
        }
    }
}

TaskId Win32Processes::Start(const std::string& commandLine, WindowStyle style) {
    ProcessHandles started = CreateWithShowCommand(commandLine, ShowCommand(style));
    const TaskId task = started.id;
    Remember(task, std::move(started.process));
    return task;
}

bool Win32Processes::WaitUntilReady(TaskId task, std::chrono::milliseconds bound) {
    const auto found = std::find_if(started_.begin(), started_.end(),
                                    [task](const Started& s) { return s.task == task; });
    if (found == started_.end() || HasEnded(found->process)) {
        return false;
    }
    const auto limit = std::clamp<std::chrono::milliseconds::rep>(bound.count(), 0, INFINITE - 1);
    // Fails at once (WAIT_FAILED) for a program without a message queue, such
    // as a console program: it has no window to wait for.
    return ::WaitForInputIdle(found->process.Get(), static_cast<DWORD>(limit)) == 0;
}

void Win32Processes::Remember(TaskId task, UniqueHandle process) {
    std::erase_if(started_,
                  [task](const Started& s) { return s.task == task || HasEnded(s.process); });
    if (started_.size() >= kRememberedStarts) {
        started_.pop_front();
    }
    started_.push_back(Started{task, std::move(process)});
}

}  // namespace ktv::win32
