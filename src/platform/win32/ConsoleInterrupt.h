#pragma once

#include <functional>

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Ctrl+C, Ctrl+Break and a closing console, turned into a request to stop
// the console program's work, so that it can end its tools and clean up
// instead of being cut off. While one lives it is the program's handler.
class ConsoleInterrupt {
public:
    // `requestStop` runs on the thread Windows handles the event on.
    explicit ConsoleInterrupt(std::function<void()> requestStop);
    ConsoleInterrupt(const ConsoleInterrupt&) = delete;
    ConsoleInterrupt& operator=(const ConsoleInterrupt&) = delete;
    ~ConsoleInterrupt();

    // The work has ended and cleaned up: a console that is closing may take
    // the process now.
    void Finished();

private:
    static BOOL WINAPI OnConsoleEvent(DWORD event);

    std::function<void()> requestStop_;
    UniqueHandle finished_;
};

}  // namespace ktv::win32
