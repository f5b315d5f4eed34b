#pragma once

#include <atomic>

namespace ktv {

// A request to stop a running build: made by the user (Stop, Esc, closing the
// window), by a console's Ctrl+C or by a new save in a language client, on
// any thread. The build's waits look at it and end early.
class StopRequest {
public:
    void Request() noexcept { requested_.store(true); }
    bool Requested() const noexcept { return requested_.load(); }

private:
    std::atomic<bool> requested_{false};
};

}  // namespace ktv
