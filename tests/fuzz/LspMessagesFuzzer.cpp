// What a language client sends, read as ktvbuild --lsp reads it: framed
// messages (handed over in pieces of every size), each body read as a
// JSON-RPC message. Reading never throws, ends with the input, and every
// frame is either a body or a reason; a body framed again reads back the
// same; a request has a usable id, and an invalid message a reason and a
// JSON-RPC error reply.
#include <algorithm>
#include <string>

#include "Fuzz.h"
#include "cli/JsonRpc.h"
#include "cli/LspFrames.h"

namespace {

class Pieces : public ktv::ByteSource {
public:
    Pieces(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t read = std::min({size, piece_, bytes_.size()});
        std::copy_n(bytes_.data(), read, buffer);
        bytes_.remove_prefix(read);
        return read;
    }

private:
    std::string_view bytes_;
    std::size_t piece_;
};

void CheckMessage(const std::string& body) {
    const ktv::RpcMessage message = ktv::ReadRpcMessage(body);
    if (message.kind == ktv::RpcMessage::Kind::Request) {
        ktv::fuzz::Check(message.id.is_string() || message.id.is_number_integer(),
                         "a request without a usable id");
    } else if (message.kind == ktv::RpcMessage::Kind::Invalid) {
        const ktv::Json reply = ktv::Json::parse(
            ktv::RpcErrorReply(message.id, message.error, message.problem), nullptr, false);
        ktv::fuzz::Check(!message.problem.empty() && reply["jsonrpc"] == "2.0" &&
                             reply["error"]["code"] == static_cast<int>(message.error),
                         "an invalid message without a reason or a JSON-RPC error reply");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    Pieces source(bytes, 1 + data[0] % 64);
    ktv::FrameReader frames(source);
    std::size_t bodies = 0;
    while (const std::optional<ktv::Frame> frame = frames.Next()) {
        ktv::fuzz::Check(frame->error.empty() || frame->body.empty(), "a frame with both");
        bodies += frame->body.size();
        ktv::fuzz::Check(bodies <= bytes.size(), "more body than input");
        if (frame->error.empty()) {
            const std::string framed = ktv::FramedMessage(frame->body);
            Pieces again(framed, framed.size());
            const std::optional<ktv::Frame> read = ktv::FrameReader(again).Next();
            ktv::fuzz::Check(read && read->error.empty() && read->body == frame->body,
                             "a framed body reads back otherwise");
            CheckMessage(frame->body);
        }
    }
    return 0;
}
