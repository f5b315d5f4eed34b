#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

#include "platform/Processes.h"
#include "platform/win32/Handles.h"

namespace ktv::win32 {

// Programs started with CreateProcessA. Start keeps the handles of the
// programs it started last, so that WaitUntilReady can ask a process that
// cannot have been replaced by another one with the same id. A hidden run's
// tool and whatever it starts live in a job of their own (ToolJob).
class Win32Processes : public Processes {
public:
    // `pumpMessages` handles the calling thread's pending window messages;
    // a hidden run calls it whenever one arrives, so that the windows keep
    // answering while a tool runs.
    explicit Win32Processes(std::function<void()> pumpMessages = {})
        : pumpMessages_(std::move(pumpMessages)) {}

    void RunHidden(const std::string& commandLine, const StopRequest& stop) override;
    TaskId Start(const std::string& commandLine, WindowStyle style) override;
    bool WaitUntilReady(TaskId task, std::chrono::milliseconds bound) override;

    // How many started processes are remembered at most; the oldest is
    // forgotten first. Ended ones are forgotten at the next start.
    static constexpr std::size_t kRememberedStarts = 16;

private:
    struct Started {
        TaskId task;
        UniqueHandle process;
    };

    void Remember(TaskId task, UniqueHandle process);

    std::function<void()> pumpMessages_;
    std::deque<Started> started_;
};

}  // namespace ktv::win32
