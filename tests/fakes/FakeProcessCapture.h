#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Transcript.h"
#include "platform/ProcessCapture.h"

namespace ktv::fakes {

// Captured programs whose output a test scripts read by read. Starts and stops
// go into the transcript (both happen on the test's thread); reads do not, as
// they happen on a session's reading thread.
class FakeProcessCapture : public ProcessCapture {
public:
    explicit FakeProcessCapture(Transcript& transcript) : transcript_(transcript) {}

    // What the next started program's reads return, one entry per read
    // (1 to kCaptureChunkBytes bytes each).
    std::vector<std::string> reads;
    // After the scripted reads the next program keeps its output open: a read
    // waits until Stop. Otherwise the output ends after the last read.
    bool holdOpen = false;

    // Commands containing this text cannot be started (StartFailed).
    void FailStartsContaining(std::string text) { failing_.push_back(std::move(text)); }

    std::unique_ptr<CapturedProcess> StartCaptured(const std::string& commandLine) override;

private:
    Transcript& transcript_;
    std::vector<std::string> failing_;
};

// One scripted program; see FakeProcessCapture.
class FakeCapturedProcess : public CapturedProcess {
public:
    FakeCapturedProcess(Transcript& transcript, std::string commandLine,
                        std::vector<std::string> reads, bool holdOpen);

    bool ReadChunk(std::string& chunk) override;
    void Stop() override;

private:
    Transcript& transcript_;
    const std::string commandLine_;
    const std::vector<std::string> reads_;
    const bool holdOpen_;
    std::size_t next_ = 0;

    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
};

}  // namespace ktv::fakes
