#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ktv {

// Registry roots by their predefined handle values.
enum class RegistryRoot : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens (creating when missing) the sub-key and writes a REG_DWORD value.
    // Failures have no visible effect: nothing is reported.
    virtual void SetDwordValue(RegistryRoot root, const std::string& subKey,
                               const std::string& valueName, std::uint32_t value) = 0;

    // A text value (REG_SZ or REG_EXPAND_SZ, expanded), the sub-key's default
    // value for an empty name; nothing when there is none. A 64-bit program
    // looks in the 32-bit programs' view too, where they register themselves.
    virtual std::optional<std::string> ReadString(RegistryRoot root, const std::string& subKey,
                                                  const std::string& valueName) = 0;
};

}  // namespace ktv
