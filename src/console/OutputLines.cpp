#include "console/OutputLines.h"

#include <algorithm>

namespace ktv {
namespace {

std::size_t AfterTab(std::size_t column) {
    return (column / OutputLines::kTabColumns + 1) * OutputLines::kTabColumns;
}

// No code page has a trail byte that is a blank, so stepping over blanks and
// non-blanks byte by byte stops only where a character starts.
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::size_t OutputLines::Append(std::string_view text) {
    const std::size_t oldSize = text_.size();
    const std::size_t lastRow = RowCount() - 1;
    text_.append(text);
    for (std::size_t at = oldSize; at < text_.size(); ++at) {
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
    if (wrap_ == 0) {
        return lastRow;
    }
    // Where a row ends depends on the bytes up to one past the wrap width from
    // its start, and of the old text only the last byte can still change its
    // meaning (a CR that an LF makes a line end, a lead byte that a trail byte
    // joins). The rows that start earlier than that keep their ends.
    const std::size_t settled = oldSize > wrap_ + 2 ? oldSize - wrap_ - 2 : 0;
    const auto row = std::min(
        static_cast<std::size_t>(std::lower_bound(rowStarts_.begin(), rowStarts_.end(), settled) -
                                 rowStarts_.begin()),
        rowStarts_.size() - 1);
    WrapFrom(rowStarts_[row]);
    return row;
}

void OutputLines::Clear() {
    text_.clear();
    starts_.assign(1, 0);
    widest_ = 0;
    lastLineColumns_ = 0;
    if (wrap_ > 0) {
        WrapFrom(0);
    }
}

void OutputLines::WrapAt(std::size_t columns) {
    if (columns == wrap_) {
        return;
    }
    wrap_ = columns;
    rowStarts_.clear();
    rowStarts_.shrink_to_fit();
    if (wrap_ > 0) {
        WrapFrom(0);
    }
}

std::size_t OutputLines::LineEnd(std::size_t line) const {
    return line + 1 < starts_.size() ? starts_[line + 1] - 2 : text_.size();
}

std::size_t OutputLines::LineOf(std::size_t position) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

std::size_t OutputLines::RowEnd(std::size_t row) const {
    if (row + 1 >= RowCount()) {
        return text_.size();
    }
    // Only a line's start follows a CR LF; a row that wraps ends where the next begins.
    const std::size_t next = RowStart(row + 1);
    return next >= 2 && text_[next - 2] == '\r' && text_[next - 1] == '\n' ? next - 2 : next;
}

std::size_t OutputLines::RowOf(std::size_t position) const {
    const auto after = std::upper_bound(Rows().begin(), Rows().end(), position);
    return static_cast<std::size_t>(after - Rows().begin()) - 1;
}

std::size_t OutputLines::RowLast(std::size_t row) const {
    const std::size_t end = RowEnd(row);
    const bool wraps = row + 1 < RowCount() && RowStart(row + 1) == end;
    return wraps ? codePage_.PreviousCharStart(text_, end) : end;
}

std::string_view OutputLines::RowText(std::size_t row) const {
    return std::string_view(text_).substr(RowStart(row), RowEnd(row) - RowStart(row));
}

std::size_t OutputLines::RowBreak(std::size_t from, std::size_t end) const {
    // Up to the first column past the edge: all that decides the break.
    const std::string_view reach =
        std::string_view(text_).substr(from, std::min(end - from, wrap_ + 1));
    if (!codePage_.HasLeadBytes() && reach.find('\t') == std::string_view::npos) {
        // One column a byte, the common case: found without stepping.
        if (reach.size() <= wrap_) {
            return end;
        }
        const std::size_t past = from + wrap_;
        if (text_[past] == ' ') {
            return past + 1;
        }
        const std::size_t blank = reach.substr(0, wrap_).rfind(' ');
        return blank != std::string_view::npos ? from + blank + 1 : past;
    }
    std::size_t column = 0;
    std::size_t afterBlank = from;  // after the last blank that fits
    for (std::size_t at = from; at < end;) {
        const bool blank = IsBlank(text_[at]);
        const std::size_t length = blank ? 1 : codePage_.CharLength(text_, at);
        const std::size_t next = text_[at] == '\t' ? AfterTab(column) : column + length;
        if (next > wrap_) {
            if (blank) {
                return at + 1;
            }
            if (afterBlank > from) {
                return afterBlank;
            }
            return at > from ? at : at + length;  // one character at least, however wide
        }
        if (blank) {
            afterBlank = at + 1;
        }
        column = next;
        at += length;
    }
    return end;
}

void OutputLines::WrapFrom(std::size_t from) {
    rowStarts_.erase(std::lower_bound(rowStarts_.begin(), rowStarts_.end(), from),
                     rowStarts_.end());
    for (std::size_t line = LineOf(from);;) {
        rowStarts_.push_back(from);
        const std::size_t end = LineEnd(line);
        from = RowBreak(from, end);
        if (from < end) {
            continue;
        }
        if (++line == LineCount()) {
            return;
        }
        from = LineStart(line);
    }
}

std::size_t OutputLines::ColumnIn(std::size_t row, std::size_t position) const {
    const std::size_t start = RowStart(row);
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

std::size_t OutputLines::PositionAt(std::size_t row, std::size_t column) const {
    const std::size_t start = RowStart(row);
    const std::string_view text = RowText(row);
    const std::size_t last = RowLast(row) - start;
    if (!codePage_.HasLeadBytes() && text.find('\t') == std::string_view::npos) {
        return start + std::min(column, last);
    }
    std::size_t at = 0;
    for (std::size_t reached = 0; at < text.size();) {
        const bool tab = text[at] == '\t';
        const std::size_t length = tab ? 1 : codePage_.CharLength(text_, start + at);
        const std::size_t next = tab ? AfterTab(reached) : reached + length;
        if (column < next) {
            return start + std::min(column - reached <= next - column ? at : at + length, last);
        }
        reached = next;
        at += length;
    }
    return start + std::min(at, last);
}

std::string OutputLines::Columns(std::size_t row, std::size_t first, std::size_t count) const {
    const std::size_t start = RowStart(row);
    const std::string_view text = RowText(row);
    if (!codePage_.HasLeadBytes() && text.find('\t') == std::string_view::npos) {
        return first < text.size() ? std::string(text.substr(first, count)) : std::string();
    }
    std::string shown;
    std::size_t column = 0;
    for (std::size_t at = 0; at < text.size() && column < first + count;) {
        const bool tab = text[at] == '\t';
        const std::size_t length = tab ? 1 : codePage_.CharLength(text_, start + at);
        const std::size_t next = tab ? AfterTab(column) : column + length;
        if (next > first) {
            if (tab || column < first || next > first + count) {
                // Half a double-byte character would show as another one.
                shown.append(std::min(next, first + count) - std::max(column, first), ' ');
            } else {
                shown.append(text.substr(at, length));
            }
        }
        column = next;
        at += length;
    }
    return shown;
}

std::size_t OutputLines::Next(std::size_t position) const {
    const std::size_t line = LineOf(position);
    if (position == LineEnd(line)) {
        return line + 1 < LineCount() ? LineStart(line + 1) : position;
    }
    return position + codePage_.CharLength(text_, position);
}

std::size_t OutputLines::Previous(std::size_t position) const {
    const std::size_t line = LineOf(position);
    if (position == LineStart(line)) {
        return line > 0 ? LineEnd(line - 1) : position;
    }
    return codePage_.PreviousCharStart(text_, position);
}

std::size_t OutputLines::NextWord(std::size_t position) const {
    const std::size_t end = LineEnd(LineOf(position));
    if (position == end) {
        return Next(position);
    }
    std::size_t at = position;
    while (at < end && !IsBlank(text_[at])) {
        ++at;
    }
    while (at < end && IsBlank(text_[at])) {
        ++at;
    }
    return at;
}

std::size_t OutputLines::PreviousWord(std::size_t position) const {
    const std::size_t start = LineStart(LineOf(position));
    if (position == start) {
        return Previous(position);
    }
    std::size_t at = position;
    while (at > start && IsBlank(text_[at - 1])) {
        --at;
    }
    while (at > start && !IsBlank(text_[at - 1])) {
        --at;
    }
    return at;
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
    const std::size_t inLine = std::min(clamped, LineEnd(LineOf(clamped)));
    return codePage_.IsCharStart(text_, inLine) ? inLine : inLine - 1;
}

}  // namespace ktv
