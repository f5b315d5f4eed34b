#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ktv {

// Which bytes end a line of single-byte text.
enum class LineEnds {
    CrLfOrCr,  // CR LF or a lone CR; a lone LF is an ordinary character
    Any,       // CR LF, a lone CR or a lone LF: files other tools may write
};

// One line seen in the text it came from, and the end it had there (empty
// for a last line without one).
struct LineView {
    std::string_view text;
    std::string_view end;
};

// Walks the lines of a text one at a time without copying it. A last line
// without an end is a line; a final line end adds no empty line after it.
// The views live as long as the text.
class LineCursor {
public:
    explicit LineCursor(std::string_view text, LineEnds ends = LineEnds::CrLfOrCr)
        : text_(text), ends_(ends) {}

    std::optional<LineView> Next();

private:
    std::string_view text_;
    LineEnds ends_;
    std::size_t position_ = 0;
};

// Every line of the text, without its end.
std::vector<std::string> SplitLines(std::string_view text, LineEnds ends = LineEnds::CrLfOrCr);

// Joins lines with CR LF after every line, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace ktv
