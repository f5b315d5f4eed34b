#include "platform/win32/Win32Registry.h"

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {
namespace {

// The predefined root handles are sign-extended on 64-bit Windows, so they are
// mapped by name rather than by casting the enum's number.
HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

std::optional<std::string> ReadStringIn(HKEY parent, const std::string& subKey,
                                        const std::string& valueName, REGSAM view) {
    UniqueRegistryKey key;
    if (::RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_QUERY_VALUE | view, key.Receive()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    const char* name = valueName.empty() ? nullptr : valueName.c_str();
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string value(size + 1, '\0');
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                           &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(std::min<std::size_t>(value.find('\0'), size));
    if (type == REG_EXPAND_SZ) {
        char expanded[MAX_PATH * 2] = {};
        const DWORD length = ::ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded);
        if (length > 0 && length <= sizeof expanded) {
            value = expanded;
        }
    }
    return value;
}

}  // namespace

std::optional<std::string> Win32Registry::ReadString(RegistryRoot root, const std::string& subKey,
                                                     const std::string& valueName) {
    const HKEY parent = RootKey(root);
    if (parent == nullptr) {
        return std::nullopt;
    }
    if (std::optional<std::string> value = ReadStringIn(parent, subKey, valueName, 0)) {
        return value;
    }
    return ReadStringIn(parent, subKey, valueName, KEY_WOW64_32KEY);
}

void Win32Registry::SetDwordValue(RegistryRoot root, const std::string& subKey,
                                  const std::string& valueName, std::uint32_t value) {
    const HKEY parent = RootKey(root);
    if (parent == nullptr) {
        return;
    }
    UniqueRegistryKey key;
    if (::RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
        return;  // nothing to report: the value simply stays as it was
    }
    const DWORD data = value;
    ::RegSetValueExA(key.Get(), valueName.c_str(), 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&data), sizeof data);
}

}  // namespace ktv::win32
