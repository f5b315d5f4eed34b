#include "platform/win32/Win32Registry.h"

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
    }
    return nullptr;
}

}  // namespace

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
