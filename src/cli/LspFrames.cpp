#include "cli/LspFrames.h"

#include <algorithm>

#include "text/Strings.h"

namespace ktv {
namespace {

constexpr std::size_t kLongestHeaderLine = 4096;
constexpr std::size_t kShownHeaderLine = 80;
constexpr std::string_view kContentLength = "content-length:";

std::size_t FindIgnoringCase(std::string_view text, std::string_view lowerWord) {
    for (std::size_t at = 0; at + lowerWord.size() <= text.size(); ++at) {
        if (StartsWithIgnoringCase(text.substr(at), lowerWord)) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool FrameReader::Fill() {
    if (at_ == buffer_.size()) {
        buffer_.clear();
        at_ = 0;
    }
    char chunk[16384];
    const std::size_t read = source_.Read(chunk, sizeof chunk);
    buffer_.append(chunk, std::min(read, sizeof chunk));
    return read > 0;
}

// A header line without its end (CR LF, or LF alone); nothing once the input
// has ended. A line longer than kLongestHeaderLine is cut one byte after it.
std::optional<std::string> FrameReader::HeaderLine() {
    std::string line;
    for (;;) {
        const std::size_t end = buffer_.find('\n', at_);
        const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
        const std::size_t room =
            line.size() > kLongestHeaderLine ? 0 : kLongestHeaderLine + 1 - line.size();
        line.append(buffer_, at_, std::min(stop - at_, room));
        if (end != std::string::npos) {
            at_ = end + 1;
            break;
        }
        at_ = buffer_.size();
        if (!Fill()) {
            return std::nullopt;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// Moves `size` bytes of body into `body`, or past them when it is null; false
// when the input ends first.
bool FrameReader::Take(std::size_t size, std::string* body) {
    while (size > 0) {
        if (at_ == buffer_.size() && !Fill()) {
            return false;
        }
        const std::size_t part = std::min(size, buffer_.size() - at_);
        if (body != nullptr) {
            body->append(buffer_, at_, part);
        }
        at_ += part;
        size -= part;
    }
    return true;
}

std::optional<Frame> FrameReader::Next() {
    constexpr std::size_t kNone = std::string::npos;
    std::size_t length = kNone;
    std::string error;
    bool begun = false;
    for (;;) {
        const std::optional<std::string> line = HeaderLine();
        if (!line) {
            return std::nullopt;
        }
        if (line->empty()) {
            if (begun) {
                break;
            }
            continue;  // blank lines between messages
        }
        begun = true;
        const std::size_t found = FindIgnoringCase(*line, kContentLength);
        if (line->size() > kLongestHeaderLine) {
            error = "a header line longer than " + std::to_string(kLongestHeaderLine) + " bytes";
        } else if (found != std::string::npos) {
            // Whatever came before was stray bytes: the message begins here.
            error.clear();
            const std::string_view value =
                TrimSpaces(std::string_view(*line).substr(found + kContentLength.size()));
            if (AllDigits(value) && value.size() <= 12) {
                length = std::stoull(std::string(value));
            } else {
                length = kNone;
                error = "Content-Length is not a number of bytes: " + std::string(value);
            }
        } else if (line->find(':') == std::string::npos) {
            error = "a header line without a colon: " + line->substr(0, kShownHeaderLine);
        }
    }
    if (length == kNone && error.empty()) {
        error = "no Content-Length";
    }
    if (length != kNone && length > kLargestBody) {
        // No client sends such a body: the header is not believed, and what
        // follows is read as the next header.
        error = "a body of " + std::to_string(length) + " bytes, over the " +
                std::to_string(kLargestBody >> 20) + " MiB this server reads";
        length = kNone;
    }
    Frame frame;
    // A body whose length is known is read (or passed over), so that the
    // next message begins where it should.
    if (length != kNone && !Take(length, error.empty() ? &frame.body : nullptr)) {
        return std::nullopt;
    }
    if (!error.empty()) {
        frame.error = "Bad message header: " + error;
    }
    return frame;
}

std::string FramedMessage(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

}  // namespace ktv
