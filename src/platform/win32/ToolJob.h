#pragma once

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The processes of one tool run: the tool and everything it starts. They are
// kept in a job that ends every process in it when its last handle closes, so
// that a stop, a tool run's end and the end of the program that ran it (End
// task, a closed console) take them all. Windows 7 allows no job inside
// another: where the program itself runs in a job that forbids breakaway, the
// tool cannot join one, and its tree is found by parent process ids instead.
class ToolJob {
public:
    ToolJob();

    // Puts a process started suspended into the job; false when it cannot
    // join one (it is then ended by its tree).
    bool Take(HANDLE process);

    // Ends the tool and every process it started, and waits (at most about a
    // second) until they are gone.
    void EndAll(HANDLE tool, DWORD toolId);

private:
    UniqueHandle job_;
    bool joined_ = false;
};

}  // namespace ktv::win32
