#pragma once

#include "platform/SystemInfo.h"

namespace ktv::win32 {

class Win32SystemInfo : public SystemInfo {
public:
    std::string SystemDirectory() override;
    std::string UserDataFolder() override;
    std::chrono::milliseconds MonotonicTime() override;
    std::vector<std::string> ProgramFolders() override;
};

}  // namespace ktv::win32
