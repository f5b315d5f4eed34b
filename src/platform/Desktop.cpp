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

std::optional<TaskWindow> ActivateTask(Desktop& desktop, TaskId task, int attempts) {
    for (int attempt = 1;; ++attempt) {
        try {
            return desktop.ActivateByTask(task);
        } catch (const WindowNotFound&) {
            if (attempt >= attempts) {
                return std::nullopt;
            }
            desktop.DoEvents();
        }
    }
}

}  // namespace ktv
