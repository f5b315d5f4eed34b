// However the output is cut into pieces, the text shown is the same as for
// the whole output at once, holds no zero byte, and breaks lines only at
// CR LF pairs (every CR is followed by LF and every LF follows a CR).
#include <string>
#include <string_view>

#include "Fuzz.h"
#include "console/CaptureText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t step = 1 + data[0] % 64;  // the first byte sets the piece size
    const std::string_view output(reinterpret_cast<const char*>(data) + 1, size - 1);

    ktv::CaptureText whole;
    const std::string expected = whole.Convert(output) + whole.Finish();

    ktv::CaptureText pieces;
    std::string shown;
    for (std::size_t at = 0; at < output.size(); at += step) {
        shown += pieces.Convert(output.substr(at, step));
    }
    shown += pieces.Finish();
    ktv::fuzz::Check(shown == expected, "pieces give other text than the whole");
    ktv::fuzz::Check(shown.find('\0') == std::string::npos, "a zero byte is shown");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '\r') {
            ktv::fuzz::Check(i + 1 < shown.size() && shown[i + 1] == '\n', "CR without LF");
        }
        if (shown[i] == '\n') {
            ktv::fuzz::Check(i > 0 && shown[i - 1] == '\r', "LF without CR");
        }
    }
    return 0;
}
