#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace ktv {

// What the main window's status bar says: the step of a run under way, with
// the time it began (the window adds an ellipsis and the seconds so far), or
// how the last run ended. Times are SystemInfo::MonotonicTime's.
class StatusLine {
public:
    using Milliseconds = std::chrono::milliseconds;

    static constexpr const char* kReady = "Ready";

    const std::string& Text() const { return text_; }
    bool UnderWay() const { return since_.has_value(); }

    void ShowUnderWay(std::string step, Milliseconds since) {
        text_ = std::move(step);
        since_ = since;
        NotifyView();
    }
    void Show(std::string text) {
        text_ = std::move(text);
        since_.reset();
        NotifyView();
    }

    // The whole seconds a step has been under way at `now`; nothing before
    // its first second is over, and nothing when no step is under way.
    std::optional<long long> SecondsAt(Milliseconds now) const {
        if (!since_ || now - *since_ < std::chrono::seconds(1)) {
            return std::nullopt;
        }
        return std::chrono::duration_cast<std::chrono::seconds>(now - *since_).count();
    }

    // One observer: the window that shows the line.
    void SetViewObserver(std::function<void()> observer) { observer_ = std::move(observer); }

private:
    void NotifyView() const {
        if (observer_) {
            observer_();
        }
    }

    std::string text_ = kReady;
    std::optional<Milliseconds> since_;
    std::function<void()> observer_;
};

}  // namespace ktv
