#include "platform/KeyText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "platform/Errors.h"

namespace ktv {
namespace {

struct KeyName {
    std::string_view text;  // as written in braces, upper case
    NamedKey key;
};

constexpr std::array kBraceNames{
    KeyName{"ENTER", NamedKey::Enter},
    KeyName{"TAB", NamedKey::Tab},
    KeyName{"ESC", NamedKey::Escape},
    KeyName{"ESCAPE", NamedKey::Escape},
    KeyName{"BACKSPACE", NamedKey::Backspace},
    KeyName{"BS", NamedKey::Backspace},
    KeyName{"BKSP", NamedKey::Backspace},
    KeyName{"DELETE", NamedKey::Delete},
    KeyName{"DEL", NamedKey::Delete},
    KeyName{"INSERT", NamedKey::Insert},
    KeyName{"INS", NamedKey::Insert},
    KeyName{"HOME", NamedKey::Home},
    KeyName{"END", NamedKey::End},
    KeyName{"PGUP", NamedKey::PageUp},
    KeyName{"PGDN", NamedKey::PageDown},
    KeyName{"UP", NamedKey::Up},
    KeyName{"DOWN", NamedKey::Down},
    KeyName{"LEFT", NamedKey::Left},
    KeyName{"RIGHT", NamedKey::Right},
    KeyName{"BREAK", NamedKey::Break},
    KeyName{"CAPSLOCK", NamedKey::CapsLock},
    KeyName{"NUMLOCK", NamedKey::NumLock},
    KeyName{"SCROLLLOCK", NamedKey::ScrollLock},
    KeyName{"PRTSC", NamedKey::PrintScreen},
    KeyName{"HELP", NamedKey::Help},
    KeyName{"ADD", NamedKey::Add},
    KeyName{"SUBTRACT", NamedKey::Subtract},
    KeyName{"MULTIPLY", NamedKey::Multiply},
    KeyName{"DIVIDE", NamedKey::Divide},
    KeyName{"F1", NamedKey::F1},
    KeyName{"F2", NamedKey::F2},
    KeyName{"F3", NamedKey::F3},
    KeyName{"F4", NamedKey::F4},
    KeyName{"F5", NamedKey::F5},
    KeyName{"F6", NamedKey::F6},
    KeyName{"F7", NamedKey::F7},
    KeyName{"F8", NamedKey::F8},
    KeyName{"F9", NamedKey::F9},
    KeyName{"F10", NamedKey::F10},
    KeyName{"F11", NamedKey::F11},
    KeyName{"F12", NamedKey::F12},
    KeyName{"F13", NamedKey::F13},
    KeyName{"F14", NamedKey::F14},
    KeyName{"F15", NamedKey::F15},
    KeyName{"F16", NamedKey::F16},
};

constexpr std::array kDisplayNames{
    std::pair{NamedKey::Enter, "Enter"},
    std::pair{NamedKey::Tab, "Tab"},
    std::pair{NamedKey::Escape, "Esc"},
    std::pair{NamedKey::Backspace, "Backspace"},
    std::pair{NamedKey::Delete, "Delete"},
    std::pair{NamedKey::Insert, "Insert"},
    std::pair{NamedKey::Home, "Home"},
    std::pair{NamedKey::End, "End"},
    std::pair{NamedKey::PageUp, "PageUp"},
    std::pair{NamedKey::PageDown, "PageDown"},
    std::pair{NamedKey::Up, "Up"},
    std::pair{NamedKey::Down, "Down"},
    std::pair{NamedKey::Left, "Left"},
    std::pair{NamedKey::Right, "Right"},
    std::pair{NamedKey::Break, "Break"},
    std::pair{NamedKey::CapsLock, "CapsLock"},
    std::pair{NamedKey::NumLock, "NumLock"},
    std::pair{NamedKey::ScrollLock, "ScrollLock"},
    std::pair{NamedKey::PrintScreen, "PrintScreen"},
    std::pair{NamedKey::Help, "Help"},
    std::pair{NamedKey::Add, "Add"},
    std::pair{NamedKey::Subtract, "Subtract"},
    std::pair{NamedKey::Multiply, "Multiply"},
    std::pair{NamedKey::Divide, "Divide"},
    std::pair{NamedKey::F1, "F1"},
    std::pair{NamedKey::F2, "F2"},
    std::pair{NamedKey::F3, "F3"},
    std::pair{NamedKey::F4, "F4"},
    std::pair{NamedKey::F5, "F5"},
    std::pair{NamedKey::F6, "F6"},
    std::pair{NamedKey::F7, "F7"},
    std::pair{NamedKey::F8, "F8"},
    std::pair{NamedKey::F9, "F9"},
    std::pair{NamedKey::F10, "F10"},
    std::pair{NamedKey::F11, "F11"},
    std::pair{NamedKey::F12, "F12"},
    std::pair{NamedKey::F13, "F13"},
    std::pair{NamedKey::F14, "F14"},
    std::pair{NamedKey::F15, "F15"},
    std::pair{NamedKey::F16, "F16"},
};

// A repeat count in braces is capped: a key text comes from the program's own
// literals and line numbers, never from anything that needs thousands of keys.
constexpr int kMaxRepeat = 1000;

[[noreturn]] void Fail(std::string_view text, std::string_view why) {
    throw InvalidArgument("Bad key text \"" + std::string(text) + "\": " + std::string(why));
}

std::string Upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::vector<KeyStroke> Run() {
        while (pos_ < text_.size()) {
            ParseItem(KeyStroke{}, /*inGroup=*/false);
        }
        return std::move(out_);
    }

private:
    // Parses one key, modifier prefix or group, starting at pos_, with the
    // modifiers already collected in `held`.
    void ParseItem(KeyStroke held, bool inGroup) {
        const char c = text_[pos_];
        switch (c) {
            case '^':
            case '+':
            case '%': {
                ++pos_;
                if (pos_ >= text_.size()) {
                    Fail(text_, "a modifier at the end");
                }
                if (c == '^')
                    held.ctrl = true;
                if (c == '+')
                    held.shift = true;
                if (c == '%')
                    held.alt = true;
                ParseItem(held, inGroup);
                return;
            }
            case '(':
                ++pos_;
                ParseGroup(held);
                return;
            case ')':
                if (!inGroup) {
                    Fail(text_, "\")\" without \"(\"");
                }
                Fail(text_, "an empty group");
            case '~':
                ++pos_;
                Emit(held, NamedKey::Enter, 1);
                return;
            case '{':
                ParseBraces(held);
                return;
            case '}':
                Fail(text_, "\"}\" without \"{\"");
            default:
                ++pos_;
                Emit(held, c, 1);
                return;
        }
    }

    void ParseGroup(const KeyStroke& held) {
        bool any = false;
        while (pos_ < text_.size() && text_[pos_] != ')') {
            ParseItem(held, /*inGroup=*/true);
            any = true;
        }
        if (pos_ >= text_.size()) {
            Fail(text_, "\"(\" without \")\"");
        }
        if (!any) {
            Fail(text_, "an empty group");
        }
        ++pos_;  // the ")"
    }

    void ParseBraces(const KeyStroke& held) {
        // "{}}" quotes a closing brace: the name may itself be "}".
        const std::size_t start = pos_ + 1;
        std::size_t close = text_.find('}', start + 1);
        if (start < text_.size() && text_[start] != '}') {
            close = text_.find('}', start);
        }
        if (start >= text_.size() || close == std::string_view::npos) {
            Fail(text_, "\"{\" without \"}\"");
        }
        const std::string_view inside = text_.substr(start, close - start);
        pos_ = close + 1;

        std::string_view name = inside;
        int repeat = 1;
        const std::size_t space = inside.find(' ');
        if (space != std::string_view::npos && space > 0) {
            name = inside.substr(0, space);
            const std::string_view count = inside.substr(space + 1);
            const auto [end, ec] =
                std::from_chars(count.data(), count.data() + count.size(), repeat);
            if (ec != std::errc{} || end != count.data() + count.size() || repeat < 0 ||
                repeat > kMaxRepeat) {
                Fail(text_, "a bad repeat count");
            }
        }
        if (name.size() == 1) {
            Emit(held, name[0], repeat);
            return;
        }
        const std::string upper = Upper(name);
        for (const KeyName& known : kBraceNames) {
            if (known.text == upper) {
                Emit(held, known.key, repeat);
                return;
            }
        }
        Fail(text_, "unknown key name");
    }

    void Emit(KeyStroke stroke, std::variant<char, NamedKey> key, int repeat) {
        stroke.key = key;
        for (int i = 0; i < repeat; ++i) {
            out_.push_back(stroke);
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::vector<KeyStroke> out_;
};

}  // namespace

std::vector<KeyStroke> ParseKeyText(std::string_view text) {
    return Parser(text).Run();
}

std::string_view NamedKeyName(NamedKey key) {
    for (const auto& [named, display] : kDisplayNames) {
        if (named == key) {
            return display;
        }
    }
    return "?";
}

std::string DescribeKeyStroke(const KeyStroke& stroke) {
    std::string out;
    if (stroke.ctrl)
        out += "Ctrl+";
    if (stroke.alt)
        out += "Alt+";
    if (stroke.shift)
        out += "Shift+";
    if (const char* c = std::get_if<char>(&stroke.key)) {
        if (*c == ' ') {
            out += "Space";
        } else if (stroke.ctrl || stroke.alt || stroke.shift) {
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
        } else {
            out += *c;
        }
    } else {
        out += NamedKeyName(std::get<NamedKey>(stroke.key));
    }
    return out;
}

}  // namespace ktv
