#include "platform/win32/SystemMessage.h"

namespace ktv::win32 {

std::string SystemMessage(DWORD error) {
    char buffer[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' ||
                          buffer[length - 1] == ' ' || buffer[length - 1] == '.')) {
        --length;
    }
    if (length == 0) {
        return "system error " + std::to_string(error);
    }
    return std::string(buffer, length);
}

std::string DescribeLastError(const std::string& what, const std::string& subject) {
    const DWORD error = ::GetLastError();
    return what + " \"" + subject + "\": " + SystemMessage(error);
}

}  // namespace ktv::win32
