#include "cli/BuildProgress.h"

#include <utility>

namespace ktv {

void BuildProgress::Begin(const std::string& title) {
    if (!offered_) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    ++builds_;
    current_ = "ktvbuild-progress-" + std::to_string(builds_);
    Token& token = tokens_[current_];
    token.name = "ktvbuild-" + std::to_string(builds_);
    title_ = title;
    begun_ = false;
    send_(RpcRequest(current_, "window/workDoneProgress/create", {{"token", token.name}}));
}

void BuildProgress::Step(const std::string& message) {
    if (!offered_) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (begun_) {
        Report({{"kind", "report"}, {"message", message}});
    } else {
        Report({{"kind", "begin"}, {"title", title_}, {"message", message}});
        begun_ = true;
    }
}

void BuildProgress::End(const std::string& message) {
    if (!offered_) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!begun_) {
        Report({{"kind", "begin"}, {"title", title_}});
    }
    Report({{"kind", "end"}, {"message", message}});
    Token& token = tokens_[current_];
    token.ended = true;
    if (token.answered) {
        tokens_.erase(current_);
    }
}

void BuildProgress::Report(Json value) {
    Token& token = tokens_[current_];
    if (token.refused) {
        return;
    }
    std::string body = RpcNotification("$/progress", {{"token", token.name}, {"value", value}});
    if (token.answered) {
        send_(body);
    } else {
        token.held.push_back(std::move(body));
    }
}

void BuildProgress::TakeResponse(const RpcMessage& response) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found =
        response.id.is_string() ? tokens_.find(response.id.get<std::string>()) : tokens_.end();
    if (found == tokens_.end()) {
        return;
    }
    Token& token = found->second;
    token.answered = true;
    token.refused = response.failed;
    if (!token.refused) {
        for (const std::string& body : token.held) {
            send_(body);
        }
    }
    token.held.clear();
    if (token.ended) {
        tokens_.erase(found);
    }
}

}  // namespace ktv
