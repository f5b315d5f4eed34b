#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/Win32Registry.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {
namespace {

std::optional<DWORD> ReadDword(const char* subKey, const char* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, subKey, name, RRF_RT_ANY, &type, &value, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

TEST(Win32Registry, WritesADwordValueCreatingTheKeyWhenMissing) {
    Win32Registry registry;
    const DWORD wrapOn = 1;
    ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Notepad", "fWrap",
                                REG_DWORD, &wrapOn, sizeof wrapOn),
              ERROR_SUCCESS);

    registry.SetDwordValue(RegistryRoot::CurrentUser, "Software\\Microsoft\\Notepad", "fWrap", 0);
    EXPECT_EQ(ReadDword("Software\\Microsoft\\Notepad", "fWrap"), DWORD{0});

    const std::string fresh =
        "Software\\KTVDebuggerTests\\" + std::to_string(::GetCurrentProcessId()) + "\\Deeper";
    registry.SetDwordValue(RegistryRoot::CurrentUser, fresh, "Value", 0xFEEDBEEFu);
    EXPECT_EQ(ReadDword(fresh.c_str(), "Value"), DWORD{0xFEEDBEEFu});
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KTVDebuggerTests");
}

}  // namespace
}  // namespace ktv::win32
