#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ktv {

// A Basic line number as it is shown and typed: one space, then the digits of
// the number held in `basicLine` (" 27" for "27", " 12" for " 12", " 7" for
// "007"). Spaces around the number are allowed; anything else, a sign
// included, means the text holds no line number: nothing is returned, and no
// stray text can reach the keystrokes typed into an editor.
std::optional<std::string> LineText(std::string_view basicLine);

}  // namespace ktv
