#pragma once

#include <string>
#include <string_view>

namespace ktv {

// Turns the raw bytes a program writes, piece by piece as they are read, into
// text for a multi-line edit box, which breaks lines only at CR LF:
// - a zero byte is dropped and the rest of the piece is kept;
// - CR LF, a lone LF and a lone CR each become one CR LF, so text written
//   with Unix line ends and old Mac line ends shows as separate lines;
// - CR CR LF is one line end too: it is what a program gets that writes
//   CR LF through a stream that adds a CR before every LF;
// - a line end split between two pieces is still one line end.
// A CR is turned into CR LF as soon as it is seen, so a progress line ended
// by CR shows at once; only a second CR right after a CR waits for the next
// byte, to tell CR CR LF from two line breaks.
class CaptureText {
public:
    // The text to show for the next piece of output.
    std::string Convert(std::string_view bytes);

    // The text still held back, once the output has ended.
    std::string Finish();

private:
    enum class After { Text, Cr, CrCr };  // CrCr: the second CR is held
    After after_ = After::Text;
};

}  // namespace ktv
