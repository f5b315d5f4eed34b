#include "platform/win32/ConsoleInterrupt.h"

#include <atomic>
#include <utility>

namespace ktv::win32 {
namespace {

// Windows ends the process this long after a closing console's event comes
// (5 s); the handler keeps it alive a little less, while the work cleans up.
constexpr DWORD kCloseGraceMs = 4500;

// A console event's handler is a plain function without a context, so the
// one interrupt that is live is found here.
std::atomic<ConsoleInterrupt*>& Live() {
    static std::atomic<ConsoleInterrupt*> live{nullptr};
    return live;
}

}  // namespace

ConsoleInterrupt::ConsoleInterrupt(std::function<void()> requestStop)
    : requestStop_(std::move(requestStop)),
      finished_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    Live().store(this);
    // A program started in a process group of its own ignores Ctrl+C until
    // it says otherwise (and under Wine, Ctrl+Break too).
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(&ConsoleInterrupt::OnConsoleEvent, TRUE);
}

ConsoleInterrupt::~ConsoleInterrupt() {
    Finished();
    ::SetConsoleCtrlHandler(&ConsoleInterrupt::OnConsoleEvent, FALSE);
    Live().store(nullptr);
}

void ConsoleInterrupt::Finished() {
    if (finished_) {
        ::SetEvent(finished_.Get());
    }
}

BOOL WINAPI ConsoleInterrupt::OnConsoleEvent(DWORD event) {
    ConsoleInterrupt* const live = Live().load();
    if (live == nullptr) {
        return FALSE;
    }
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            live->requestStop_();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The process ends when this returns: the work gets its time to
            // end the tools and remove its files first.
            live->requestStop_();
            ::WaitForSingleObject(live->finished_.Get(), kCloseGraceMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace ktv::win32
