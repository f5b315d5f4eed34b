#pragma once

#include "platform/win32/WinApi.h"

#include <utility>

namespace ktv::win32 {

// Owns one kernel handle and closes it once. Both INVALID_HANDLE_VALUE and
// null mean "no handle", since Win32 functions use either.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    void Reset(HANDLE handle = nullptr) {
        if (*this) {
            ::CloseHandle(handle_);
        }
        handle_ = handle;
    }
    HANDLE Release() { return std::exchange(handle_, nullptr); }

private:
    HANDLE handle_ = nullptr;
};

}  // namespace ktv::win32
