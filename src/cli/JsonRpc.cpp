#include "cli/JsonRpc.h"

namespace ktv {
namespace {

bool UsableId(const Json& id) {
    return id.is_string() || id.is_number_integer();
}

RpcMessage Invalid(RpcError error, std::string problem, Json id = nullptr) {
    RpcMessage message;
    message.error = error;
    message.problem = std::move(problem);
    message.id = std::move(id);
    return message;
}

// No message of the protocol nests deeply; a body that does is refused before
// it is parsed, since copying and freeing a parsed value recurse.
constexpr int kDeepestNesting = 64;

bool NestsTooDeeply(std::string_view body) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kDeepestNesting) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

std::string Written(const Json& message) {
    return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

RpcMessage ReadRpcMessage(std::string_view body) {
    if (NestsTooDeeply(body)) {
        return Invalid(RpcError::InvalidRequest, "The message nests deeper than " +
                                                     std::to_string(kDeepestNesting) + " levels");
    }
    Json parsed = Json::parse(body, nullptr, false);
    if (parsed.is_discarded()) {
        return Invalid(RpcError::ParseError, "The message is not JSON");
    }
    if (!parsed.is_object()) {
        return Invalid(RpcError::InvalidRequest, "The message is not a JSON object");
    }
    const auto member = [&](const char* name) {
        const auto found = parsed.find(name);
        return found == parsed.end() ? Json() : *found;
    };
    const Json id = member("id");
    const bool hasId = parsed.contains("id");
    if (hasId && !UsableId(id)) {
        return Invalid(RpcError::InvalidRequest, "The id is neither a string nor an integer");
    }
    if (member("jsonrpc") != "2.0") {
        return Invalid(RpcError::InvalidRequest, "The message is not JSON-RPC 2.0", id);
    }
    RpcMessage message;
    message.id = id;
    const Json method = member("method");
    if (method.is_null() && hasId && (parsed.contains("result") || parsed.contains("error"))) {
        message.kind = RpcMessage::Kind::Response;
        message.failed = parsed.contains("error");
        message.response = member(message.failed ? "error" : "result");
        return message;
    }
    if (!method.is_string()) {
        return Invalid(RpcError::InvalidRequest, "The message has no method", id);
    }
    message.params = member("params");
    if (!message.params.is_null() && !message.params.is_object() && !message.params.is_array()) {
        return Invalid(RpcError::InvalidRequest, "The params are neither an object nor an array",
                       id);
    }
    message.kind = hasId ? RpcMessage::Kind::Request : RpcMessage::Kind::Notification;
    message.method = method.get<std::string>();
    return message;
}

std::string RpcResult(const Json& id, const Json& result) {
    return Written({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

std::string RpcErrorReply(const Json& id, RpcError error, std::string_view message) {
    return Written({{"jsonrpc", "2.0"},
                    {"id", id},
                    {"error", {{"code", static_cast<int>(error)}, {"message", message}}}});
}

std::string RpcNotification(std::string_view method, const Json& params) {
    return Written({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

std::string RpcRequest(const Json& id, std::string_view method, const Json& params) {
    return Written({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
}

}  // namespace ktv
