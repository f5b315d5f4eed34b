#include "FakeProcessCapture.h"

#include "platform/Errors.h"

namespace ktv::fakes {

std::unique_ptr<CapturedProcess> FakeProcessCapture::StartCaptured(const std::string& commandLine) {
    transcript_.Add("start-captured: " + commandLine);
    for (const std::string& text : failing_) {
        if (commandLine.find(text) != std::string::npos) {
            throw StartFailed("Cannot start " + commandLine);
        }
    }
    for (const std::string& read : reads) {
        if (read.empty() || read.size() > kCaptureChunkBytes) {
            throw InvalidArgument("A scripted read must hold 1 to 1023 bytes");
        }
    }
    auto process =
        std::make_unique<FakeCapturedProcess>(transcript_, commandLine, std::move(reads), holdOpen);
    reads.clear();
    holdOpen = false;
    return process;
}

FakeCapturedProcess::FakeCapturedProcess(Transcript& transcript, std::string commandLine,
                                         std::vector<std::string> reads, bool holdOpen)
    : transcript_(transcript),
      commandLine_(std::move(commandLine)),
      reads_(std::move(reads)),
      holdOpen_(holdOpen) {}

bool FakeCapturedProcess::ReadChunk(std::string& chunk) {
    std::unique_lock lock(mutex_);
    if (!stop_ && next_ < reads_.size()) {
        chunk = reads_[next_++];
        return true;
    }
    if (holdOpen_) {
        stopped_.wait(lock, [this] { return stop_; });
    }
    return false;
}

void FakeCapturedProcess::Stop() {
    transcript_.Add("stop-captured: " + commandLine_);
    std::lock_guard lock(mutex_);
    stop_ = true;
    stopped_.notify_all();
}

}  // namespace ktv::fakes
