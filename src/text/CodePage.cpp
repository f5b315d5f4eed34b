#include "text/CodePage.h"

#include <algorithm>

namespace ktv {

CodePage::CodePage(const std::array<bool, 256>& leadBytes)
    : lead_(leadBytes),
      hasLeadBytes_(std::find(leadBytes.begin(), leadBytes.end(), true) != leadBytes.end()) {}

bool CodePage::IsCharStart(std::string_view text, std::size_t at) const {
    if (!hasLeadBytes_ || at == 0 || at >= text.size() || !IsTrail(text[at])) {
        return true;
    }
    // Trail bytes take lead-byte values too, so the byte before `at` alone
    // does not tell. A byte that is no lead byte always ends a character;
    // from there the lead-valued bytes pair up, and `at` is a start when they
    // come out even.
    std::size_t leads = 0;
    while (leads < at && IsLead(text[at - 1 - leads])) {
        ++leads;
    }
    return leads % 2 == 0;
}

std::size_t CodePage::PreviousCharStart(std::string_view text, std::size_t at) const {
    return at >= 2 && !IsCharStart(text, at - 1) ? at - 2 : at - 1;
}

}  // namespace ktv
