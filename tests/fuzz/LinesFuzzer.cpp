#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/TextLines.h"

// Lines hold no CR; joining and splitting again gives the same lines; the
// joined text is the input with every line end written as CR LF.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = ktv::SplitLines(text);
    for (const std::string& line : lines) {
        ktv::fuzz::Check(line.find('\r') == std::string::npos, "a line holds a CR");
    }
    const std::string joined = ktv::JoinLines(lines);
    ktv::fuzz::Check(ktv::SplitLines(joined) == lines, "split(join(lines)) != lines");

    std::string normalised;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            normalised += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            normalised += text[i];
        }
    }
    if (!normalised.empty() &&
        (normalised.size() < 2 || normalised.substr(normalised.size() - 2) != "\r\n")) {
        normalised += "\r\n";
    }
    ktv::fuzz::Check(joined == normalised, "join(split(text)) is not the normalised text");
    return 0;
}
