#include "text/Lines.h"

namespace ktv {

std::optional<LineView> LineCursor::Next() {
    if (position_ >= text_.size()) {
        return std::nullopt;
    }
    const std::size_t start = position_;
    const std::size_t end =
        text_.find_first_of(ends_ == LineEnds::Any ? std::string_view("\r\n") : "\r", start);
    if (end == std::string_view::npos) {
        position_ = text_.size();
        return LineView{text_.substr(start), {}};
    }
    const bool crLf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
    position_ = end + (crLf ? 2 : 1);
    return LineView{text_.substr(start, end - start), text_.substr(end, position_ - end)};
}

std::vector<std::string> SplitLines(std::string_view text, LineEnds ends) {
    std::vector<std::string> lines;
    LineCursor cursor(text, ends);
    while (const std::optional<LineView> line = cursor.Next()) {
        lines.emplace_back(line->text);
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace ktv
