#pragma once

#include <ole2.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// OLE on this thread for as long as it lives: OleInitialize, and
// OleUninitialize when it succeeded (also when OLE was already on, since the
// calls are counted). Ready() is false on a thread that runs COM in the
// multi-threaded mode, where OLE cannot be had, and when ole32 cannot be
// loaded. `ole32` must outlive the session.
class OleSession {
public:
    explicit OleSession(const SystemLibrary& ole32)
        : uninitialize_(ole32.Find<decltype(::OleUninitialize)>("OleUninitialize")) {
        const auto initialize = ole32.Find<decltype(::OleInitialize)>("OleInitialize");
        ready_ =
            initialize != nullptr && uninitialize_ != nullptr && SUCCEEDED(initialize(nullptr));
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (ready_) {
            uninitialize_();
        }
    }

    bool Ready() const { return ready_; }

private:
    decltype(::OleUninitialize)* uninitialize_;
    bool ready_ = false;
};

}  // namespace ktv::win32
