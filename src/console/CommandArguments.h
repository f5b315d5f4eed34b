#pragma once

#include <string>
#include <string_view>

namespace ktv {

// The arguments part of a Windows command line: everything after the program
// name and the blanks that follow it, exactly as written. The program name
// runs to the first blank outside double quotes, as the C runtime reads it
// when it hands WinMain its command line.
std::string ArgumentsAfterProgramName(std::string_view commandLine);

}  // namespace ktv
