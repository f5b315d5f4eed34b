#include "text/CodePage.h"

#include <algorithm>

namespace ktv {

CodePage::CodePage(const std::array<bool, 256>& leadBytes)
    : lead_(leadBytes),
      hasLeadBytes_(std::find(leadBytes.begin(), leadBytes.end(), true) != leadBytes.end()) {}

CodePage CodePage::Ansi(unsigned number) {
    std::array<bool, 256> lead{};
    const auto mark = [&](std::size_t first, std::size_t last) {
        std::fill(lead.begin() + static_cast<std::ptrdiff_t>(first),
                  lead.begin() + static_cast<std::ptrdiff_t>(last) + 1, true);
    };
    switch (number) {
        case 932:
            mark(0x81, 0x9F);
            mark(0xE0, 0xFC);
            break;
        case 936:
        case 949:
        case 950:
            mark(0x81, 0xFE);
            break;
        default:
            break;
    }
    return CodePage(lead);
}

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
