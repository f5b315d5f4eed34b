#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ktv {

// The bytes a language client sends: standard input, or a test's channel.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Waits for at least one byte and reads up to `size`; 0 once the input
    // has ended (or cannot be read any more).
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Where the server's messages go, one whole message a call, one call at a
// time.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

// One message of the base protocol: its body, or why its header could not be
// read (the body is then empty).
struct Frame {
    std::string body;
    std::string error;
};

// A header that announces a larger body is taken for stray bytes.
constexpr std::size_t kLargestBody = 64u << 20;

// Reads messages framed as "Content-Length: N\r\n" (other header lines, such
// as Content-Type, are passed over), an empty line and N bytes of body. A
// header that cannot be read gives a Frame with its error, and reading goes
// on with the next header: a line that holds "Content-Length:" after some
// stray bytes begins one, so that a client's stray bytes cost one message at
// most.
class FrameReader {
public:
    explicit FrameReader(ByteSource& source) : source_(source) {}

    // The next message; nothing once the input has ended.
    std::optional<Frame> Next();

private:
    bool Fill();
    std::optional<std::string> HeaderLine();
    bool Take(std::size_t size, std::string* body);

    ByteSource& source_;
    std::string buffer_;
    std::size_t at_ = 0;
};

// The body with the header that frames it.
std::string FramedMessage(std::string_view body);

}  // namespace ktv
