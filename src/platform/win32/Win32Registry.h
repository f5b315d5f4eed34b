#pragma once

#include "platform/Registry.h"

namespace ktv::win32 {

class Win32Registry : public Registry {
public:
    void SetDwordValue(RegistryRoot root, const std::string& subKey, const std::string& valueName,
                       std::uint32_t value) override;
    std::optional<std::string> ReadString(RegistryRoot root, const std::string& subKey,
                                          const std::string& valueName) override;
};

}  // namespace ktv::win32
