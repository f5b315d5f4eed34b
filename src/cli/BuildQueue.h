#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "debug/RunControl.h"

namespace ktv {

// The language server's builds, one at a time on a thread of their own, so
// that the client's messages are read while a build runs. A file saved
// again while it builds stops that build (its tools end, and it reports
// nothing) and is built once more; saves that come while a build of the file
// waits add nothing. Files are told apart by their keys (FileUris'
// pathKey), so that spellings differing in case are one file.
class BuildQueue {
public:
    // Runs on the queue's thread; `run` is the build's own, stopped by a
    // later request for the same file or by Close().
    using Build = std::function<void(const std::string& path, RunControl& run)>;

    explicit BuildQueue(Build build);
    BuildQueue(const BuildQueue&) = delete;
    BuildQueue& operator=(const BuildQueue&) = delete;
    ~BuildQueue();

    // Safe from any thread, as are the others.
    void Request(const std::string& key, const std::string& path);
    // A waiting build of the file is dropped; a running one goes on.
    void Forget(const std::string& key);
    // Stops the running build, drops the waiting ones, refuses new ones and
    // waits until the build has finished (the tools end within a second).
    void Close();

private:
    struct Waiting {
        std::string key;
        std::string path;
    };

    void Work();

    Build build_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Waiting> waiting_;
    std::string runningKey_;
    RunControl* running_ = nullptr;
    bool closed_ = false;
    std::once_flag joined_;
    std::thread thread_;
};

}  // namespace ktv
