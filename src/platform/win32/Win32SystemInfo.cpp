#include "platform/win32/Win32SystemInfo.h"

#include <shlobj.h>

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

}  // namespace ktv::win32
