#include "diagnostics/LineViews.h"

namespace ktv {
namespace {

// Where the line after the line ending at `cr` starts.
std::size_t NextStart(std::string_view text, std::size_t cr) {
    return cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1;
}

}  // namespace

std::optional<std::string_view> LineCursor::Next() {
    if (position_ >= text_.size()) {
        return std::nullopt;
    }
    const std::size_t cr = text_.find('\r', position_);
    if (cr == std::string_view::npos) {
        const std::string_view last = text_.substr(position_);
        position_ = text_.size();
        return last;
    }
    const std::string_view line = text_.substr(position_, cr - position_);
    position_ = NextStart(text_, cr);
    return line;
}

std::optional<std::string_view> FirstLine(std::string_view text) {
    return LineCursor(text).Next();
}

}  // namespace ktv
