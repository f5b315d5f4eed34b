#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ktv {

// Keys that a key text names in braces, such as {ENTER} or {F5}.
enum class NamedKey {
    Enter,
    Tab,
    Escape,
    Backspace,
    Delete,
    Insert,
    Home,
    End,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    Break,
    CapsLock,
    NumLock,
    ScrollLock,
    PrintScreen,
    Help,
    Add,
    Subtract,
    Multiply,
    Divide,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
};

// One key pressed with the modifiers held around it. A character key types
// that character ("g", " ", "1"); a named key presses that key.
struct KeyStroke {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    std::variant<char, NamedKey> key;

    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Parses a key text: plain characters type themselves; "^" (Ctrl), "+" (Shift)
// and "%" (Alt) hold for the next key or for a group in parentheses; "~" is
// Enter; braces name a key ({HOME}), repeat it ({LEFT 3}) or quote one of the
// special characters ({+}, {^}, {%}, {~}, {(}, {)}, {{}, {}}, {[}, {]}).
// Throws InvalidArgument for a text that does not parse.
std::vector<KeyStroke> ParseKeyText(std::string_view text);

}  // namespace ktv
