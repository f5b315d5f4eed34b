#pragma once

#include <string>

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The system's text for an error code, without the final line end; the code
// as a number when the system has no text for it.
std::string SystemMessage(DWORD error);

// "<what> \"<path>\": <system text of GetLastError()>", the shape of every
// file and process failure this layer reports.
std::string DescribeLastError(const std::string& what, const std::string& subject);

}  // namespace ktv::win32
