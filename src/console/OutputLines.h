#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ktv {

// The text of the capture window's box and where each of its lines starts,
// kept up to date as output is appended, so that any line is found at once
// and an append costs the same however much text is there already. A line
// ends at CR LF, as CaptureText delivers it; a CR LF split between two appends
// is one line end all the same.
//
// Positions are byte offsets into the text. A position stands at a line's
// start, inside it or at its end (before its CR LF), never between CR and LF.
// Columns are as a fixed-pitch font shows the line: one per byte, and a tab
// reaches the next multiple of kTabColumns.
class OutputLines {
public:
    static constexpr std::size_t kTabColumns = 8;

    void Append(std::string_view text);
    void Clear();

    const std::string& Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }
    std::size_t LineCount() const { return starts_.size(); }  // an empty text has one line

    std::size_t LineStart(std::size_t line) const { return starts_[line]; }
    std::size_t LineEnd(std::size_t line) const;  // before its CR LF
    std::size_t LineOf(std::size_t position) const;

    // The widest line, in columns.
    std::size_t WidestLine() const { return widest_; }

    // The column at which the position stands in its line.
    std::size_t ColumnOf(std::size_t position) const;
    // The position in the line nearest to the column; a column inside a tab
    // goes to the nearer side of it, one past the line's end to its end.
    std::size_t PositionAt(std::size_t line, std::size_t column) const;
    // Columns [first, first + count) of the line as shown, tabs as spaces.
    std::string Columns(std::size_t line, std::size_t first, std::size_t count) const;

    // The position one step further or back, a line end being one step;
    // the text's ends stay where they are.
    std::size_t Next(std::size_t position) const;
    std::size_t Previous(std::size_t position) const;
    // The run of the same kind of byte (blank or not) around the position:
    // what a double click selects. Returned as [first, second).
    std::pair<std::size_t, std::size_t> WordAround(std::size_t position) const;

    // The nearest position that stands at a line boundary or within a line,
    // for one given from outside (past the end, or between CR and LF).
    std::size_t Valid(std::size_t position) const;

private:
    std::string_view LineText(std::size_t line) const;

    std::string text_;
    std::vector<std::size_t> starts_{0};
    std::size_t widest_ = 0;
    std::size_t lastLineColumns_ = 0;  // the columns of the last line so far
};

}  // namespace ktv
