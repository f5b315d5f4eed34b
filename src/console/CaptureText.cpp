#include "console/CaptureText.h"

namespace ktv {

std::string CaptureText::Convert(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) {
        switch (byte) {
            case '\0':
                // Dropped without touching afterCr_: CR, zero, LF is still one line end.
                break;
            case '\r':
                text += "\r\n";
                afterCr_ = true;
                break;
            case '\n':
                if (!afterCr_) {
                    text += "\r\n";
                }
                afterCr_ = false;
                break;
            default:
                text += byte;
                afterCr_ = false;
                break;
        }
    }
    return text;
}

}  // namespace ktv
