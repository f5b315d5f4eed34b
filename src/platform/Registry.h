#pragma once

#include <cstdint>
#include <string>

namespace ktv {

// Registry roots by their predefined handle values.
enum class RegistryRoot : std::uint32_t {
    CurrentUser = 0x80000001u,
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens (creating when missing) the sub-key and writes a REG_DWORD value.
    // Failures have no visible effect: nothing is reported.
    virtual void SetDwordValue(RegistryRoot root, const std::string& subKey,
                               const std::string& valueName, std::uint32_t value) = 0;
};

}  // namespace ktv
