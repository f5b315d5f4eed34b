#include "console/CaptureText.h"

namespace ktv {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string CaptureText::Convert(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) {
        switch (byte) {
            case '\0':
                // Dropped without changing the state: CR, zero, LF is still one line end.
                break;
            case '\r':
                if (after_ == After::Text) {
                    text += kLineEnd;
                    after_ = After::Cr;
                } else if (after_ == After::Cr) {
                    after_ = After::CrCr;
                } else {
                    text += kLineEnd;  // the held CR was a line end of its own
                }
                break;
            case '\n':
                if (after_ == After::Text) {
                    text += kLineEnd;
                }
                after_ = After::Text;  // CR LF and CR CR LF are shown already
                break;
            default:
                if (after_ == After::CrCr) {
                    text += kLineEnd;
                }
                text += byte;
                after_ = After::Text;
                break;
        }
    }
    return text;
}

std::string CaptureText::Finish() {
    const bool held = after_ == After::CrCr;
    after_ = After::Text;
    return held ? std::string(kLineEnd) : std::string();
}

}  // namespace ktv
