#include "cli/BuildQueue.h"

#include <algorithm>
#include <utility>

#include "text/Errors.h"

namespace ktv {

BuildQueue::BuildQueue(Build build) : build_(std::move(build)), thread_([this] { Work(); }) {}

BuildQueue::~BuildQueue() {
    Close();
}

void BuildQueue::Request(const std::string& key, const std::string& path) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) {
            return;
        }
        if (running_ != nullptr && runningKey_ == key) {
            running_->RequestStop();
        }
        if (std::none_of(waiting_.begin(), waiting_.end(),
                         [&](const Waiting& w) { return w.key == key; })) {
            waiting_.push_back(Waiting{key, path});
        }
    }
    wake_.notify_one();
}

void BuildQueue::Forget(const std::string& key) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(waiting_, [&](const Waiting& w) { return w.key == key; });
}

void BuildQueue::Close() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        waiting_.clear();
        if (running_ != nullptr) {
            running_->RequestStop();
        }
    }
    wake_.notify_one();
    std::call_once(joined_, [this] { thread_.join(); });
}

void BuildQueue::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closed_ || !waiting_.empty(); });
        if (closed_) {
            return;
        }
        const Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        RunControl run;
        runningKey_ = next.key;
        running_ = &run;
        lock.unlock();
        IgnoringFailure([&] { build_(next.path, run); });
        lock.lock();
        running_ = nullptr;
    }
}

}  // namespace ktv
