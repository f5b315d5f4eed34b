#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Owns one directory search of FindFirstFileA and ends it with FindClose
// (which, unlike CloseHandle, is what such a handle needs).
class UniqueFindHandle {
public:
    explicit UniqueFindHandle(HANDLE handle) : handle_(handle) {}
    UniqueFindHandle(const UniqueFindHandle&) = delete;
    UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
    ~UniqueFindHandle() {
        if (*this) {
            ::FindClose(handle_);
        }
    }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace ktv::win32
