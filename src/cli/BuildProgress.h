#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "cli/JsonRpc.h"

namespace ktv {

// A build's steps as work-done progress, for a client that offers it
// (window.workDoneProgress): each build asks the client to create a token
// of its own (window/workDoneProgress/create), then reports on it: "begin"
// with the first step, "report" for each later one, "end" when it is over.
// The reports wait until the client has answered the request, as the
// protocol asks, and are dropped when it refuses. Builds call Begin, Step
// and End on their thread; the reader hands in the client's responses.
class BuildProgress {
public:
    using Send = std::function<void(const std::string& body)>;

    BuildProgress(Send send, bool offered) : send_(std::move(send)), offered_(offered) {}

    void Begin(const std::string& title);
    void Step(const std::string& message);
    void End(const std::string& message);

    // The client's response to one of the create requests; others are
    // passed over.
    void TakeResponse(const RpcMessage& response);

private:
    // A build's token, until the client has answered for it and the build
    // has ended.
    struct Token {
        std::string name;
        bool answered = false;
        bool refused = false;
        bool ended = false;
        std::vector<std::string> held;
    };

    void Report(Json value);

    Send send_;
    const bool offered_;
    std::mutex mutex_;
    int builds_ = 0;
    std::string title_;
    bool begun_ = false;
    std::string current_;                  // the running build's request id
    std::map<std::string, Token> tokens_;  // by the id of the request that made it
};

}  // namespace ktv
