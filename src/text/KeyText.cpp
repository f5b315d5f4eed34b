#include "text/KeyText.h"

#include <array>
#include <charconv>

#include "text/Errors.h"
#include "text/Strings.h"

namespace ktv {
namespace {

struct KeyName {
    std::string_view text;  // as written in braces, in any letter case
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

// A repeat count in braces is capped: a key text comes from the program's own
// literals and line numbers, never from anything that needs thousands of keys.
constexpr int kMaxRepeat = 1000;

[[noreturn]] void Fail(std::string_view text, std::string_view why) {
    throw InvalidArgument("Bad key text \"" + std::string(text) + "\": " + std::string(why));
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
        for (const KeyName& known : kBraceNames) {
            if (EqualsIgnoringCase(known.text, name)) {
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

}  // namespace ktv
