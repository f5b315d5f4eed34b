#include "console/CaptureSession.h"

#include <condition_variable>
#include <mutex>

#include "console/CaptureText.h"

namespace ktv {

// Shared by the session and its reading thread, which keeps it alive should it
// outlive the session.
struct CaptureSession::Shared {
    std::unique_ptr<CapturedProcess> process;
    std::function<void()> wake;

    std::mutex mutex;
    std::condition_variable finishedChanged;
    std::string pending;       // converted text not yet taken
    bool ended = false;        // the reading thread has seen the end of the output
    bool finished = false;     // the reading thread is about to return
    bool wakePending = false;  // a wake was sent and not yet answered
    bool closed = false;       // the session is gone: wake no one
};

CaptureSession::CaptureSession(ProcessCapture& capture, const std::string& commandLine,
                               std::function<void()> wake)
    : shared_(std::make_shared<Shared>()) {
    shared_->process = capture.StartCaptured(commandLine);
    shared_->wake = std::move(wake);
    try {
        reader_ = std::thread(&CaptureSession::ReadAll, shared_);
    } catch (...) {
        shared_->process->Stop();  // no thread to read: do not leave the program running
        throw;
    }
}

CaptureSession::~CaptureSession() {
    std::unique_lock lock(shared_->mutex);
    shared_->closed = true;
    if (!shared_->ended) {
        shared_->process->Stop();
    }
    const bool finished =
        shared_->finishedChanged.wait_for(lock, kStopWait, [this] { return shared_->finished; });
    lock.unlock();
    if (finished) {
        reader_.join();
    } else {
        reader_.detach();
    }
}

CaptureUpdate CaptureSession::TakeUpdate() {
    std::lock_guard lock(shared_->mutex);
    shared_->wakePending = false;
    CaptureUpdate update{std::move(shared_->pending), shared_->ended};
    shared_->pending.clear();
    return update;
}

void CaptureSession::ReadAll(const std::shared_ptr<Shared>& shared) {
    CaptureText converter;
    std::string chunk;
    bool more = true;
    while (more) {
        more = shared->process->ReadChunk(chunk);
        std::string text = more ? converter.Convert(chunk) : converter.Finish();
        if (more && text.empty()) {
            continue;  // only zero bytes: nothing to show
        }
        std::lock_guard lock(shared->mutex);
        shared->pending += text;
        shared->ended = !more;
        if (!shared->closed && !shared->wakePending) {
            shared->wakePending = true;
            shared->wake();
        }
    }
    std::lock_guard lock(shared->mutex);
    shared->finished = true;
    shared->finishedChanged.notify_all();
}

}  // namespace ktv
