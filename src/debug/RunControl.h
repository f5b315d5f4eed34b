#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/StopRequest.h"
#include "text/Errors.h"

namespace ktv {

// A build as its user follows it and ends it: the step under way, handed to
// whoever shows it as it changes (the window's status bar, a language
// client's progress), and the request to stop it.
class RunControl {
public:
    using StepObserver = std::function<void(const std::string& step)>;

    void SetStepObserver(StepObserver observer) { observer_ = std::move(observer); }

    // The step now under way, in words and without an ellipsis
    // ("Translating prog.bas"); empty when none is.
    void ShowStep(std::string step) {
        step_ = std::move(step);
        if (observer_) {
            observer_(step_);
        }
    }
    const std::string& Step() const { return step_; }

    // Safe from any thread.
    void RequestStop() noexcept { stop_.Request(); }
    bool StopRequested() const noexcept { return stop_.Requested(); }
    const StopRequest& Stop() const { return stop_; }

    // Ends what the caller is doing when a stop has been asked for.
    void ThrowIfStopped() const {
        if (StopRequested()) {
            throw RunStopped();
        }
    }

private:
    StopRequest stop_;
    std::string step_;
    StepObserver observer_;
};

}  // namespace ktv
