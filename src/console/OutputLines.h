#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/CodePage.h"

namespace ktv {

// The text of the capture window's box, where each of its lines starts and
// how the lines fall into rows on screen, kept up to date as output is
// appended, so that any line or row is found at once and an append costs the
// same however much text is there already. A line ends at CR LF, as
// CaptureText delivers it; a CR LF split between two appends is one line end
// all the same.
//
// A row is what the box shows on one line of the screen: a whole line, or
// with wrapping on, as much of it as fits the width, broken after a blank
// where there is one (a blank may hang past the edge) and between any two
// characters where there is none.
//
// Positions are byte offsets into the text. A position stands at a
// character's start or at a line's end (before its CR LF), never between CR
// and LF nor inside a double-byte character. Columns count from the row's
// start as a fixed-pitch font shows it: one per byte (a double-byte
// character is drawn two columns wide), and a tab reaches the next multiple
// of kTabColumns.
class OutputLines {
public:
    static constexpr std::size_t kTabColumns = 8;

    explicit OutputLines(const CodePage& codePage = {}) : codePage_(codePage) {}

    // Adds the text; returns the first row whose text changed.
    std::size_t Append(std::string_view text);
    void Clear();

    // Wraps lines into rows of at most this many columns; 0: one row per line.
    void WrapAt(std::size_t columns);

    const std::string& Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }
    std::size_t LineCount() const { return starts_.size(); }  // an empty text has one line
    std::size_t LineStart(std::size_t line) const { return starts_[line]; }
    std::size_t LineEnd(std::size_t line) const;  // before its CR LF
    std::size_t LineOf(std::size_t position) const;

    std::size_t RowCount() const { return Rows().size(); }
    std::size_t RowStart(std::size_t row) const { return Rows()[row]; }
    std::size_t RowEnd(std::size_t row) const;  // its line's end, or the next row's start
    std::size_t RowOf(std::size_t position) const;
    // The last position the caret can stand at in the row: its end, or in a
    // row its line goes on from, before its last character (after it is the
    // next row's start).
    std::size_t RowLast(std::size_t row) const;

    // The widest line, in columns, unwrapped.
    std::size_t WidestLine() const { return widest_; }

    // The column at which the position stands in the row.
    std::size_t ColumnIn(std::size_t row, std::size_t position) const;
    // The position in the row nearest to the column; a column inside a tab or
    // a double-byte character goes to the nearer side of it, one past the
    // row's end to RowLast.
    std::size_t PositionAt(std::size_t row, std::size_t column) const;
    // Columns [first, first + count) of the row as shown: tabs, and any
    // character the range cuts, as spaces.
    std::string Columns(std::size_t row, std::size_t first, std::size_t count) const;

    // The position one character further or back, a line end being one step;
    // the text's ends stay where they are.
    std::size_t Next(std::size_t position) const;
    std::size_t Previous(std::size_t position) const;
    // The start of the next word, or of the word before: what Ctrl+Right and
    // Ctrl+Left reach. A line end is a stop of its own.
    std::size_t NextWord(std::size_t position) const;
    std::size_t PreviousWord(std::size_t position) const;
    // The run of the same kind of character (blank or not) around the
    // position: what a double click selects. Returned as [first, second).
    std::pair<std::size_t, std::size_t> WordAround(std::size_t position) const;

    // The nearest position at or before one given from outside (past the
    // end, between CR and LF, inside a double-byte character).
    std::size_t Valid(std::size_t position) const;

private:
    const std::vector<std::size_t>& Rows() const { return wrap_ == 0 ? starts_ : rowStarts_; }
    std::string_view RowText(std::size_t row) const;
    // Where the row that starts at `from`, in a line that ends at `end`, ends.
    std::size_t RowBreak(std::size_t from, std::size_t end) const;
    // Replaces the rows from the one that starts at `from` to the end.
    void WrapFrom(std::size_t from);

    CodePage codePage_;
    std::string text_;
    std::vector<std::size_t> starts_{0};
    std::size_t widest_ = 0;
    std::size_t lastLineColumns_ = 0;  // the columns of the last line so far
    std::size_t wrap_ = 0;
    std::vector<std::size_t> rowStarts_;  // while wrapping
};

}  // namespace ktv
