#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace ktv {

using Json = nlohmann::json;

// The error codes of JSON-RPC 2.0 and the language server protocol.
enum class RpcError {
    ParseError = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    ServerNotInitialized = -32002,
};

// One message from the client, as far as JSON-RPC tells it apart: a request
// (a method and an id), a notification (a method, no id), a response to one
// of the server's requests (an id and a result or an error), or none of them
// (`error` and `problem` say why, `id` is the message's own when it has a
// usable one).
struct RpcMessage {
    enum class Kind { Request, Notification, Response, Invalid };
    Kind kind = Kind::Invalid;
    Json id;
    std::string method;
    Json params;          // an object, an array or null
    Json response;        // a response's "result" or "error" member, whichever it has
    bool failed = false;  // the response is an error
    RpcError error = RpcError::InvalidRequest;
    std::string problem;
};

RpcMessage ReadRpcMessage(std::string_view body);

// The server's messages, as bodies to frame. Text that is not UTF-8 (which a
// conversion from the ANSI code page never gives) is written with U+FFFD in
// place of the bytes that are not.
std::string RpcResult(const Json& id, const Json& result);
std::string RpcErrorReply(const Json& id, RpcError error, std::string_view message);
std::string RpcNotification(std::string_view method, const Json& params);
std::string RpcRequest(const Json& id, std::string_view method, const Json& params);

}  // namespace ktv
