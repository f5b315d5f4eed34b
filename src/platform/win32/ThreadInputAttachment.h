#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Joins the input state of this thread to another thread's for as long as it
// lives (AttachThreadInput). Windows lets a thread that shares the input state
// of the foreground window's thread move the foreground elsewhere, which a
// background program otherwise may not do. Nothing happens for the same
// thread or no thread, or when the system refuses.
class ThreadInputAttachment {
public:
    ThreadInputAttachment(DWORD self, DWORD other)
        : self_(self),
          other_(other),
          attached_(self != other && other != 0 && ::AttachThreadInput(self, other, TRUE)) {}
    ThreadInputAttachment(const ThreadInputAttachment&) = delete;
    ThreadInputAttachment& operator=(const ThreadInputAttachment&) = delete;
    ~ThreadInputAttachment() {
        if (attached_) {
            ::AttachThreadInput(self_, other_, FALSE);
        }
    }

private:
    DWORD self_;
    DWORD other_;
    bool attached_;
};

}  // namespace ktv::win32
