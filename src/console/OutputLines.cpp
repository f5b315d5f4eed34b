#include "console/OutputLines.h"

#include <algorithm>

namespace ktv {
namespace {

std::size_t AfterTab(std::size_t column) {
    return (column / OutputLines::kTabColumns + 1) * OutputLines::kTabColumns;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

void OutputLines::Append(std::string_view text) {
    const std::size_t from = text_.size();
    text_.append(text);
    for (std::size_t at = from; at < text_.size(); ++at) {
        switch (text_[at]) {
            case '\n':
                if (at > 0 && text_[at - 1] == '\r') {
                    // The CR before was counted as a column of this line.
                    widest_ = std::max(widest_, lastLineColumns_ - 1);
                    starts_.push_back(at + 1);
                    lastLineColumns_ = 0;
                    continue;
                }
                ++lastLineColumns_;
                break;
            case '\t':
                lastLineColumns_ = AfterTab(lastLineColumns_);
                break;
            default:
                ++lastLineColumns_;
                break;
        }
    }
    widest_ = std::max(widest_, lastLineColumns_);
}

void OutputLines::Clear() {
    text_.clear();
    starts_.assign(1, 0);
    widest_ = 0;
    lastLineColumns_ = 0;
}

std::size_t OutputLines::LineEnd(std::size_t line) const {
    return line + 1 < starts_.size() ? starts_[line + 1] - 2 : text_.size();
}

std::size_t OutputLines::LineOf(std::size_t position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

std::string_view OutputLines::LineText(std::size_t line) const {
    return std::string_view(text_).substr(LineStart(line), LineEnd(line) - LineStart(line));
}

std::size_t OutputLines::ColumnOf(std::size_t position) const {
    const std::size_t start = LineStart(LineOf(position));
    const std::string_view before = std::string_view(text_).substr(start, position - start);
    if (before.find('\t') == std::string_view::npos) {
        return before.size();  // the common case, even in a very long line
    }
    std::size_t column = 0;
    for (const char c : before) {
        column = c == '\t' ? AfterTab(column) : column + 1;
    }
    return column;
}

std::size_t OutputLines::PositionAt(std::size_t line, std::size_t column) const {
    const std::string_view text = LineText(line);
    if (text.find('\t') == std::string_view::npos) {
        return LineStart(line) + std::min(column, text.size());
    }
    std::size_t at = 0;
    for (std::size_t reached = 0; at < text.size(); ++at) {
        const std::size_t next = text[at] == '\t' ? AfterTab(reached) : reached + 1;
        if (column < next) {
            return LineStart(line) + (column - reached <= next - column ? at : at + 1);
        }
        reached = next;
    }
    return LineStart(line) + at;
}

std::string OutputLines::Columns(std::size_t line, std::size_t first, std::size_t count) const {
    const std::string_view text = LineText(line);
    if (text.find('\t') == std::string_view::npos) {
        return first < text.size() ? std::string(text.substr(first, count)) : std::string();
    }
    std::string shown;
    std::size_t column = 0;
    for (const char c : text) {
        const std::size_t next = c == '\t' ? AfterTab(column) : column + 1;
        for (; column < next; ++column) {
            if (column >= first + count) {
                return shown;
            }
            if (column >= first) {
                shown += c == '\t' ? ' ' : c;
            }
        }
    }
    return shown;
}

std::size_t OutputLines::Next(std::size_t position) const {
    const std::size_t line = LineOf(position);
    if (position == LineEnd(line)) {
        return line + 1 < LineCount() ? LineStart(line + 1) : position;
    }
    return position + 1;
}

std::size_t OutputLines::Previous(std::size_t position) const {
    const std::size_t line = LineOf(position);
    if (position == LineStart(line)) {
        return line > 0 ? LineEnd(line - 1) : position;
    }
    return position - 1;
}

std::pair<std::size_t, std::size_t> OutputLines::WordAround(std::size_t position) const {
    const std::size_t line = LineOf(position);
    const std::size_t start = LineStart(line);
    const std::size_t end = LineEnd(line);
    if (start == end) {
        return {start, end};
    }
    // At a line's end the word is the one before it.
    const std::size_t inside = position < end ? position : position - 1;
    const bool blank = IsBlank(text_[inside]);
    std::size_t first = inside;
    while (first > start && IsBlank(text_[first - 1]) == blank) {
        --first;
    }
    std::size_t second = inside + 1;
    while (second < end && IsBlank(text_[second]) == blank) {
        ++second;
    }
    return {first, second};
}

std::size_t OutputLines::Valid(std::size_t position) const {
    const std::size_t clamped = std::min(position, text_.size());
    return std::min(clamped, LineEnd(LineOf(clamped)));
}

}  // namespace ktv
