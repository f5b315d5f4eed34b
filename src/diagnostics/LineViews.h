#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace ktv {

// The lines of single-byte text as views into it, split exactly as SplitLines
// splits them (CR LF or a lone CR ends a line; a lone LF is an ordinary
// character). The views live as long as the text they point into.
std::vector<std::string_view> SplitLineViews(std::string_view text);

// The first line of the text, or nothing when the text is empty.
std::optional<std::string_view> FirstLine(std::string_view text);

// The text without leading and trailing space characters; tabs are kept.
std::string_view TrimSpaces(std::string_view text);

}  // namespace ktv
