#pragma once

#include <string>
#include <string_view>

namespace ktv {

// Removes leading and trailing space characters; tabs and other white space
// stay, since the settings file and the library list only ever pad with spaces.
std::string TrimSpaces(std::string_view text);

// Removes leading space characters only.
std::string_view TrimLeadingSpaces(std::string_view text);

}  // namespace ktv
