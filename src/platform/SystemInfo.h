#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace ktv {

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The Windows system directory without a final "\", or empty text when it
    // cannot be had.
    virtual std::string SystemDirectory() = 0;

    // The user's roaming application-data folder (%APPDATA%) without a final
    // "\", or empty text when there is none.
    virtual std::string UserDataFolder() = 0;

    // The folders programs install into: "Program Files" (both of a 64-bit
    // system) and the user's own (%LOCALAPPDATA%\Programs); those that exist.
    virtual std::vector<std::string> ProgramFolders() = 0;

    // A clock that only moves forward, for how long a run has taken.
    virtual std::chrono::milliseconds MonotonicTime() = 0;
};

// The Windows system directory, or empty text when it cannot be had.
inline std::string GetSystemPath(SystemInfo& system) {
    return system.SystemDirectory();
}

}  // namespace ktv
