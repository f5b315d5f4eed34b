#pragma once

#include <string_view>

namespace ktv {

// Removes leading and trailing space characters; tabs and other white space
// stay: the files this program reads pad only with spaces, and a tab before a
// directive makes it another line.
std::string_view TrimSpaces(std::string_view text);

// Removes leading space characters only.
std::string_view TrimLeadingSpaces(std::string_view text);

// ASCII letters folded to lower case; every other byte as it is. The one
// case rule of the program: file and key names, kind words, markers.
char ToLowerAscii(char c);

// Compares ASCII letters without regard to case; other bytes must be equal.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace ktv
