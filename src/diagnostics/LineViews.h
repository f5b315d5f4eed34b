#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ktv {

// Lines of single-byte text seen without copying it, split exactly as
// SplitLines splits them: a line ends at CR LF or at a lone CR, a lone LF is an
// ordinary character, and a final line end adds no empty line. The views live
// as long as the text they point into.

// Walks the lines one at a time, from the first.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    // The next line, or nothing after the last one.
    std::optional<std::string_view> Next();

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// The first line of the text, or nothing when the text is empty.
std::optional<std::string_view> FirstLine(std::string_view text);

// The text without leading and trailing space characters; tabs are kept.
std::string_view TrimSpaces(std::string_view text);

}  // namespace ktv
