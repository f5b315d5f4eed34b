#include "platform/win32/Win32SystemInfo.h"

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

std::string Win32SystemInfo::SystemDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return std::string(buffer, length);
}

}  // namespace ktv::win32
