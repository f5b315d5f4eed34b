#pragma once

#include <vector>

#include "text/KeyText.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The keyboard events that type one key stroke: its modifiers down, the key
// down and up, the modifiers up again, all independent of the keyboard
// layout. A named key, and a letter or digit with Ctrl or Alt (a shortcut),
// go by virtual-key code; any other character is typed as itself, as a
// Unicode character event.
std::vector<INPUT> KeyStrokeInputs(const KeyStroke& stroke);

}  // namespace ktv::win32
