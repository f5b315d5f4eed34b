#pragma once

#include <cstdint>

namespace ktv {

// A window as portable code sees it: an opaque number that only the Win32 layer
// turns back into a handle. 0 means no window (for a box: no owner).
using WindowRef = std::uintptr_t;

}  // namespace ktv
