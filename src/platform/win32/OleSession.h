#pragma once

#include <ole2.h>

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// OLE on this thread for as long as it lives: OleInitialize, and
// OleUninitialize when it succeeded (also when OLE was already on, since the
// calls are counted). Ready() is false on a thread that runs COM in the
// multi-threaded mode, where OLE cannot be had.
class OleSession {
public:
    OleSession() : ready_(SUCCEEDED(::OleInitialize(nullptr))) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (ready_) {
            ::OleUninitialize();
        }
    }

    bool Ready() const { return ready_; }

private:
    bool ready_;
};

}  // namespace ktv::win32
