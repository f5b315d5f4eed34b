#pragma once

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Owns one open registry key and closes it once with RegCloseKey.
class UniqueRegistryKey {
public:
    UniqueRegistryKey() = default;
    UniqueRegistryKey(const UniqueRegistryKey&) = delete;
    UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;
    ~UniqueRegistryKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }

    HKEY Get() const { return key_; }
    // For the out-parameter of RegCreateKeyExA; the key must be empty.
    HKEY* Receive() { return &key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

}  // namespace ktv::win32
