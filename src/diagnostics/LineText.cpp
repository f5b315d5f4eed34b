#include "diagnostics/LineText.h"

#include <charconv>

#include "diagnostics/LineViews.h"

namespace ktv {

std::optional<std::string> LineText(std::string_view basicLine) {
    const std::string_view digits = TrimSpaces(basicLine);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned long number = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (parsed.ec != std::errc{} || number > 2'147'483'647ul) {
        return std::nullopt;
    }
    std::string text(1, ' ');
    text += std::to_string(number);
    return text;
}

}  // namespace ktv
