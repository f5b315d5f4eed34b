#pragma once

#include <vector>

#include "text/KeyText.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The keyboard events that type one key stroke: its modifiers down, the key
// down and up, the modifiers up again. A character goes through the current
// keyboard layout (VkKeyScanA, with the shift state the layout needs for it);
// a character that no key types is sent as a Unicode character.
std::vector<INPUT> KeyStrokeInputs(const KeyStroke& stroke);

}  // namespace ktv::win32
