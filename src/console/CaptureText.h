#pragma once

#include <string>
#include <string_view>

namespace ktv {

// Turns the raw bytes a program writes, piece by piece as they are read, into
// text for a multi-line edit box, which breaks lines only at CR LF:
// - a zero byte is dropped and the rest of the piece is kept;
// - CR LF, a lone LF and a lone CR each become one CR LF, so text written
//   with Unix line ends and old Mac line ends shows as separate lines;
// - a CR LF pair split between two pieces still makes one line end.
// A CR is turned into CR LF as soon as it is seen, so nothing is held back
// waiting for the next piece; the LF that may follow it is then skipped.
class CaptureText {
public:
    // The text to show for the next piece of output.
    std::string Convert(std::string_view bytes);

private:
    bool afterCr_ = false;  // the last byte kept was a CR, already shown as CR LF
};

}  // namespace ktv
