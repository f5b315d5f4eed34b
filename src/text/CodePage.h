#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ktv {

// Where the characters of text in an ANSI code page begin. In the double-byte
// code pages (932 Japanese, 936 Simplified Chinese, 949 Korean, 950
// Traditional Chinese) a character is one byte, or a lead byte and the trail
// byte after it; every other ANSI code page has one byte per character. Text
// that steps, counts, selects or cuts by bytes would split such a character.
//
// No code page has a trail byte below 0x40, so a control character, a blank,
// a digit or a line end never finishes a character: a lead byte before one (or
// at the end of the text) counts as a character of its own, as a broken one.
class CodePage {
public:
    // One byte per character.
    CodePage() = default;
    // The lead bytes, by byte value (the system's own table, on Windows).
    explicit CodePage(const std::array<bool, 256>& leadBytes);

    bool HasLeadBytes() const { return hasLeadBytes_; }
    bool IsLead(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }

    // The length of the character that starts at `at`: 1 or 2.
    std::size_t CharLength(std::string_view text, std::size_t at) const {
        return hasLeadBytes_ && IsLead(text[at]) && at + 1 < text.size() && IsTrail(text[at + 1])
                   ? 2
                   : 1;
    }
    // Whether `at` stands between two characters (or at an end), not before a
    // trail byte.
    bool IsCharStart(std::string_view text, std::size_t at) const;
    // The start of the character that ends at `at` (which is over 0).
    std::size_t PreviousCharStart(std::string_view text, std::size_t at) const;

private:
    static bool IsTrail(char byte) { return static_cast<unsigned char>(byte) >= 0x40; }

    std::array<bool, 256> lead_{};
    bool hasLeadBytes_ = false;
};

}  // namespace ktv
