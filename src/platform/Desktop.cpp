#include "platform/Desktop.h"

#include "text/Errors.h"

namespace ktv {

ScreenPoint CentredIn(const ScreenArea& area, int width, int height) {
    return ScreenPoint{area.left + (area.width - width) / 2, area.top + (area.height - height) / 2};
}

void DoEvents(Desktop& desktop, int times) {
    for (int i = 0; i < times; ++i) {
        desktop.DoEvents();
    }
}

TaskWindow FrontLooks::Look(bool& settled) {
    const TaskWindow front = desktop_.Foreground();
    if (held_ < std::chrono::milliseconds{0} || !(front == last_)) {
        last_ = front;
        held_ = std::chrono::milliseconds{0};
    }
    settled = held_ >= kSettleTime;
    return front;
}

bool FrontLooks::Wait() {
    if (stop_.Requested()) {
        return false;
    }
    desktop_.Pause(kPollInterval);
    held_ += kPollInterval;
    return !stop_.Requested();
}

std::optional<TaskWindow> SettledWindowOf(Desktop& desktop, TaskId task,
                                          std::chrono::milliseconds bound,
                                          const StopRequest& stop) {
    FrontLooks looks(desktop, stop);
    for (std::chrono::milliseconds waited{0}; waited <= bound;
         waited += FrontLooks::kPollInterval) {
        bool settled = false;
        const TaskWindow front = looks.Look(settled);
        if (settled && front.window != 0 && front.task == task) {
            return front;
        }
        if (!looks.Wait()) {
            break;
        }
    }
    return std::nullopt;
}

std::optional<TaskWindow> ActivateTask(Desktop& desktop, TaskId task, int attempts,
                                       const StopRequest& stop) {
    // A try that brings a window forward gets this long to settle; the next
    // try follows this long after a failed one.
    constexpr std::chrono::milliseconds kSettleBound{1000};
    constexpr std::chrono::milliseconds kBetweenTries{200};
    for (int attempt = 1; attempt <= attempts && !stop.Requested(); ++attempt) {
        try {
            desktop.ActivateByTask(task);
            if (std::optional<TaskWindow> front =
                    SettledWindowOf(desktop, task, kSettleBound, stop)) {
                return front;
            }
        } catch (const WindowNotFound&) {
            // Not up yet: the next try looks again.
        }
        if (attempt < attempts) {
            desktop.Pause(kBetweenTries);
        }
    }
    return std::nullopt;
}

}  // namespace ktv
