#pragma once

#include <string>

namespace ktv {

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // The Windows system directory without a final "\", or empty text when it
    // cannot be had.
    virtual std::string SystemDirectory() = 0;
};

}  // namespace ktv
