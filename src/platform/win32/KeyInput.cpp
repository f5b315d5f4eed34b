#include "platform/win32/KeyInput.h"

namespace ktv::win32 {
namespace {

struct VirtualKey {
    WORD code = 0;
    // Keys of the navigation block and a few others sit on the extended part
    // of the keyboard; without the flag some programs read Home as numpad 7.
    bool extended = false;
};

VirtualKey VirtualKeyOf(NamedKey key) {
    switch (key) {
        case NamedKey::Enter:
            return {VK_RETURN};
        case NamedKey::Tab:
            return {VK_TAB};
        case NamedKey::Escape:
            return {VK_ESCAPE};
        case NamedKey::Backspace:
            return {VK_BACK};
        case NamedKey::Delete:
            return {VK_DELETE, true};
        case NamedKey::Insert:
            return {VK_INSERT, true};
        case NamedKey::Home:
            return {VK_HOME, true};
        case NamedKey::End:
            return {VK_END, true};
        case NamedKey::PageUp:
            return {VK_PRIOR, true};
        case NamedKey::PageDown:
            return {VK_NEXT, true};
        case NamedKey::Up:
            return {VK_UP, true};
        case NamedKey::Down:
            return {VK_DOWN, true};
        case NamedKey::Left:
            return {VK_LEFT, true};
        case NamedKey::Right:
            return {VK_RIGHT, true};
        case NamedKey::Break:
            return {VK_CANCEL, true};
        case NamedKey::CapsLock:
            return {VK_CAPITAL};
        case NamedKey::NumLock:
            return {VK_NUMLOCK, true};
        case NamedKey::ScrollLock:
            return {VK_SCROLL};
        case NamedKey::PrintScreen:
            return {VK_SNAPSHOT, true};
        case NamedKey::Help:
            return {VK_HELP};
        case NamedKey::Add:
            return {VK_ADD};
        case NamedKey::Subtract:
            return {VK_SUBTRACT};
        case NamedKey::Multiply:
            return {VK_MULTIPLY};
        case NamedKey::Divide:
            return {VK_DIVIDE, true};
        default:
            break;
    }
    // F1 to F16 follow each other both in NamedKey and in the key codes.
    const int offset = static_cast<int>(key) - static_cast<int>(NamedKey::F1);
    return {static_cast<WORD>(VK_F1 + offset)};
}

INPUT KeyEvent(VirtualKey key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key.code;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key.code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT UnicodeEvent(wchar_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

wchar_t WideCharacter(char character) {
    wchar_t wide = L'?';
    ::MultiByteToWideChar(CP_ACP, 0, &character, 1, &wide, 1);
    return wide;
}

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::vector<INPUT> KeyStrokeInputs(const KeyStroke& stroke) {
    std::vector<INPUT> keys;  // the key's own down and up events
    if (const char* character = std::get_if<char>(&stroke.key)) {
        if ((stroke.ctrl || stroke.alt) && IsAsciiLetterOrDigit(*character)) {
            // A shortcut (Ctrl+G): by the key's virtual-key code, which is the
            // letter's in every keyboard layout, also where the layout types
            // no Latin letter at all.
            const char upper = *character >= 'a' && *character <= 'z'
                                   ? static_cast<char>(*character - 'a' + 'A')
                                   : *character;
            const VirtualKey key{static_cast<WORD>(upper)};
            keys.push_back(KeyEvent(key, false));
            keys.push_back(KeyEvent(key, true));
        } else {
            // Text (the line number) as the characters themselves, whatever
            // keys would type them in the user's layout (digits need Shift in
            // a French one).
            keys.push_back(UnicodeEvent(WideCharacter(*character), false));
            keys.push_back(UnicodeEvent(WideCharacter(*character), true));
        }
    } else {
        const VirtualKey key = VirtualKeyOf(std::get<NamedKey>(stroke.key));
        keys.push_back(KeyEvent(key, false));
        keys.push_back(KeyEvent(key, true));
    }

    std::vector<VirtualKey> modifiers;
    if (stroke.ctrl)
        modifiers.push_back({VK_CONTROL});
    if (stroke.alt)
        modifiers.push_back({VK_MENU});
    if (stroke.shift)
        modifiers.push_back({VK_SHIFT});

    std::vector<INPUT> inputs;
    for (const VirtualKey& modifier : modifiers) {
        inputs.push_back(KeyEvent(modifier, false));
    }
    inputs.insert(inputs.end(), keys.begin(), keys.end());
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) {
        inputs.push_back(KeyEvent(*it, true));
    }
    return inputs;
}

}  // namespace ktv::win32
