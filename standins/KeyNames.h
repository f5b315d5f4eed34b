#pragma once

#include <windows.h>

#include <optional>
#include <string>

// How the stand-ins name the keys they receive in their logs, the way the key
// texts describe them: "Ctrl+G", "Shift+End", "Enter", "F9", "Space", "1".
namespace ktv::standins {

// A WM_KEYDOWN with the modifiers held now. Nothing for a lone modifier or a
// key that types a character (plain letters, digits and punctuation), which
// is named from its WM_CHAR instead.
std::optional<std::string> KeyDownName(WPARAM virtualKey);

// A WM_CHAR; nothing for control characters and characters typed with Ctrl
// or Alt held, which were named as key presses.
std::optional<std::string> CharKeyName(WPARAM character);

}  // namespace ktv::standins
