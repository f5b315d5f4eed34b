#include "KeyNames.h"

#include <array>
#include <utility>

namespace ktv::standins {
namespace {

constexpr std::array<std::pair<WPARAM, const char*>, 30> kNamedKeys{{
    {VK_RETURN, "Enter"},  {VK_TAB, "Tab"},       {VK_ESCAPE, "Esc"},  {VK_BACK, "Backspace"},
    {VK_DELETE, "Delete"}, {VK_INSERT, "Insert"}, {VK_HOME, "Home"},   {VK_END, "End"},
    {VK_PRIOR, "PageUp"},  {VK_NEXT, "PageDown"}, {VK_UP, "Up"},       {VK_DOWN, "Down"},
    {VK_LEFT, "Left"},     {VK_RIGHT, "Right"},   {VK_F1, "F1"},       {VK_F2, "F2"},
    {VK_F3, "F3"},         {VK_F4, "F4"},         {VK_F5, "F5"},       {VK_F6, "F6"},
    {VK_F7, "F7"},         {VK_F8, "F8"},         {VK_F9, "F9"},       {VK_F10, "F10"},
    {VK_F11, "F11"},       {VK_F12, "F12"},       {VK_SPACE, nullptr}, {VK_SHIFT, nullptr},
    {VK_CONTROL, nullptr}, {VK_MENU, nullptr},
}};

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

std::optional<std::string> KeyDownName(WPARAM virtualKey) {
    std::string name;
    if (Held(VK_CONTROL))
        name += "Ctrl+";
    if (Held(VK_MENU))
        name += "Alt+";
    if (Held(VK_SHIFT))
        name += "Shift+";
    for (const auto& [code, text] : kNamedKeys) {
        if (code == virtualKey) {
            return text != nullptr ? std::optional(name + text) : std::nullopt;
        }
    }
    const bool letterOrDigit =
        (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    if (letterOrDigit && (Held(VK_CONTROL) || Held(VK_MENU))) {
        return name + static_cast<char>(virtualKey);
    }
    return std::nullopt;
}

std::optional<std::string> CharKeyName(WPARAM character) {
    const auto c = static_cast<unsigned char>(character);
    if (c < 0x20 || c == 0x7F || Held(VK_CONTROL) || Held(VK_MENU)) {
        return std::nullopt;
    }
    return c == ' ' ? std::string("Space") : std::string(1, static_cast<char>(c));
}

}  // namespace ktv::standins
