#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/ProcessCapture.h"

namespace ktv {

// What arrived since the last look.
struct CaptureUpdate {
    std::string text;    // ready for an edit box (see CaptureText)
    bool ended = false;  // the output has ended; nothing more follows
};

// One program running with its output captured. A reading thread waits on the
// pipe, so the window that shows the output never waits; the window's thread
// takes what has arrived with TakeUpdate when it is woken.
class CaptureSession {
public:
    // How long the destructor waits for the reading thread after stopping the
    // program. A descendant of the program may keep the pipe open longer; the
    // thread is then left to finish on its own, touching nothing but the
    // state it shares with this object.
    static constexpr std::chrono::milliseconds kStopWait{500};

    // Starts the command line (see ProcessCapture::StartCaptured); throws
    // StartFailed when it cannot be started. `wake` is called on the reading
    // thread when text or the end is waiting and the previous wake has been
    // answered by TakeUpdate; it must be quick and safe from any thread
    // (posting a message is). It is never called once the destructor runs.
    CaptureSession(ProcessCapture& capture, const std::string& commandLine,
                   std::function<void()> wake);
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Ends the program when its output has not ended yet.
    ~CaptureSession();

    // Everything that arrived since the last call.
    CaptureUpdate TakeUpdate();

private:
    struct Shared;
    static void ReadAll(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    std::thread reader_;
};

}  // namespace ktv
