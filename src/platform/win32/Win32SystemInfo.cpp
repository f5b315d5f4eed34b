#include "platform/win32/Win32SystemInfo.h"

#include <shlobj.h>

#include <algorithm>

#include "platform/win32/Handles.h"
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

std::vector<std::string> Win32SystemInfo::ProgramFolders() {
    std::vector<std::string> folders;
    const auto add = [&](const char* variable, const char* below) {
        char buffer[MAX_PATH + 1] = {};
        const DWORD length = ::GetEnvironmentVariableA(variable, buffer, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return;
        }
        const std::string folder = std::string(buffer, length) + below;
        const DWORD attributes = ::GetFileAttributesA(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    };
    // A 64-bit program sees both program folders; ProgramW6432 names the
    // 64-bit one also where ProgramFiles does not.
    add("ProgramW6432", "");
    add("ProgramFiles", "");
    add("ProgramFiles(x86)", "");
    add("LOCALAPPDATA", "\\Programs");
    return folders;
}

std::string Win32SystemInfo::UserDataFolder() {
    // The variable is set in every user's session; the shell is asked only
    // without it, since loading shell32 costs every start of the program.
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableA("APPDATA", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        return std::string(buffer, length);
    }
    const SystemLibrary shell32("shell32.dll");
    const auto folderPath = shell32.Find<decltype(::SHGetFolderPathA)>("SHGetFolderPathA");
    if (folderPath == nullptr ||
        folderPath(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) {
        return {};
    }
    return buffer;
}

// The windows' status bar counts the seconds of a step with the same clock.
std::chrono::milliseconds Win32SystemInfo::MonotonicTime() {
    return std::chrono::milliseconds(::GetTickCount64());
}

}  // namespace ktv::win32
