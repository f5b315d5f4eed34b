#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "FakeProcessCapture.h"
#include "console/CaptureSession.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

// Stands in for the window: counts wakes and takes updates when woken, as the
// window does on its private message.
class Window {
public:
    std::function<void()> WakeFunction() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++wakes_;
            woken_.notify_all();
        };
    }

    // Takes updates as wakes arrive until the output has ended; the text shown.
    std::string ShowUntilEnded(CaptureSession& session) {
        std::string shown;
        int answered = 0;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (!woken_.wait_for(lock, 5s, [&] { return wakes_ > answered; })) {
                    ADD_FAILURE() << "no wake within 5 s";
                    return shown;
                }
                answered = wakes_;
            }
            CaptureUpdate update = session.TakeUpdate();
            shown += update.text;
            if (update.ended) {
                return shown;
            }
        }
    }

    int Wakes() {
        std::lock_guard lock(mutex_);
        return wakes_;
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
};

TEST(CaptureSession, ShowsEveryReadConvertedAndInOrder) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    capture.reads = {"first\n", "se\0cond\r"s, "\nthird\r\n", std::string(1023, 'x'), "\0"s, "end"};
    Window window;
    CaptureSession session(capture, "prog.exe a b", window.WakeFunction());
    EXPECT_EQ(window.ShowUntilEnded(session),
              "first\r\nsecond\r\nthird\r\n" + std::string(1023, 'x') + "end");
    EXPECT_EQ(transcript.Entries(), std::vector<std::string>{"start-captured: prog.exe a b"});
}

TEST(CaptureSession, EmptyOutputEndsWithNothingShown) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    Window window;
    CaptureSession session(capture, "silent.exe", window.WakeFunction());
    EXPECT_EQ(window.ShowUntilEnded(session), "");
    const CaptureUpdate after = session.TakeUpdate();
    EXPECT_TRUE(after.ended);
    EXPECT_EQ(after.text, "");
}

TEST(CaptureSession, ProgramThatCannotStartThrowsAndWakesNoOne) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    capture.FailStartsContaining("missing.exe");
    Window window;
    EXPECT_THROW(CaptureSession(capture, "missing.exe", window.WakeFunction()), StartFailed);
    EXPECT_EQ(window.Wakes(), 0);
}

TEST(CaptureSession, OneWakeWaitsForItsAnswer) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    capture.reads = {"a", "b", "c"};
    capture.holdOpen = true;
    Window window;
    CaptureSession session(capture, "prog.exe", window.WakeFunction());
    // The three reads arrive while the first wake is unanswered: the window is
    // woken once and one update carries them all.
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(window.Wakes(), 1);
    const CaptureUpdate update = session.TakeUpdate();
    EXPECT_EQ(update.text, "abc");
    EXPECT_FALSE(update.ended);
    EXPECT_EQ(window.Wakes(), 1);
}

TEST(CaptureSession, ClosingWhileTheProgramRunsStopsItPromptly) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    capture.reads = {"working"};
    capture.holdOpen = true;
    Window window;
    const auto start = std::chrono::steady_clock::now();
    {
        CaptureSession session(capture, "server.exe", window.WakeFunction());
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, CaptureSession::kStopWait);
    EXPECT_EQ(transcript.Entries(), (std::vector<std::string>{"start-captured: server.exe",
                                                              "stop-captured: server.exe"}));
}

TEST(CaptureSession, ClosingAfterTheOutputEndedStopsNothing) {
    fakes::Transcript transcript;
    fakes::FakeProcessCapture capture(transcript);
    capture.reads = {"done"};
    Window window;
    {
        CaptureSession session(capture, "quick.exe", window.WakeFunction());
        EXPECT_EQ(window.ShowUntilEnded(session), "done");
    }
    EXPECT_EQ(transcript.Entries(), std::vector<std::string>{"start-captured: quick.exe"});
}

}  // namespace
}  // namespace ktv
