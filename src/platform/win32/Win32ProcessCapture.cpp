#include "platform/win32/Win32ProcessCapture.h"

#include "platform/win32/WinApi.h"

#include <mutex>

#include "text/Errors.h"
#include "platform/win32/Handles.h"

namespace ktv::win32 {

namespace {

class Win32CapturedProcess : public CapturedProcess {
public:
    Win32CapturedProcess(UniqueHandle readEnd, UniqueHandle process, UniqueHandle thread)
        : readEnd_(std::move(readEnd)), process_(std::move(process)), thread_(std::move(thread)) {}

    bool ReadChunk(std::string& chunk) override {
        char buffer[kCaptureChunkBytes];
        for (;;) {
            if (!PrepareRead()) {
                return false;
            }
            DWORD count = 0;
            if (!::ReadFile(readEnd_.Get(), buffer, sizeof buffer, &count, nullptr)) {
                return false;  // no writer left, the read was cancelled, or it failed
            }
            // A writer's zero-length write completes a read with nothing in it:
            // not the end of the output.
            if (count > 0) {
                chunk.assign(buffer, count);
                return true;
            }
        }
    }

    void Stop() override {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        // Fails harmlessly when the program has ended already.
        ::TerminateProcess(process_.Get(), 1);
        // A descendant may still hold the pipe open: make the waiting read give up.
        if (reader_) {
            ::CancelSynchronousIo(reader_.Get());
        }
    }

private:
    // False after Stop. Remembers the reading thread so that Stop can cancel
    // its read; a Stop that lands between this and ReadFile finds nothing to
    // cancel and the read ends when the last writer goes (the session does not
    // wait for that).
    bool PrepareRead() {
        std::lock_guard lock(mutex_);
        if (stopped_) {
            return false;
        }
        if (!reader_) {
            HANDLE thread = nullptr;
            if (::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(),
                                  ::GetCurrentProcess(), &thread, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS)) {
                reader_.Reset(thread);
            }
        }
        return true;
    }

    // Closed in reverse order: the reading thread, the child's thread, its
    // process, then the pipe's read end.
    UniqueHandle readEnd_;
    UniqueHandle process_;
    UniqueHandle thread_;
    UniqueHandle reader_;

    std::mutex mutex_;
    bool stopped_ = false;
};

// The child's standard input: the program's own, when it has one, as an
// inheritable copy; otherwise the NUL device, so that a child that reads its
// input sees the end at once (a GUI program usually has no input at all).
UniqueHandle ChildInput() {
    const HANDLE own = ::GetStdHandle(STD_INPUT_HANDLE);
    HANDLE copy = nullptr;
    if (own != nullptr && own != INVALID_HANDLE_VALUE &&
        ::DuplicateHandle(::GetCurrentProcess(), own, ::GetCurrentProcess(), &copy, 0, TRUE,
                          DUPLICATE_SAME_ACCESS)) {
        return UniqueHandle(copy);
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return UniqueHandle(::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inheritable, OPEN_EXISTING, 0, nullptr));
}

[[noreturn]] void ThrowStartFailed(const std::string& what, const std::string& commandLine) {
    throw StartFailed(what + " (error " + std::to_string(::GetLastError()) + "): " + commandLine);
}

}  // namespace

std::unique_ptr<CapturedProcess> Win32ProcessCapture::StartCaptured(
    const std::string& commandLine) {
    if (commandLine.empty()) {
        throw StartFailed("No command line to run");
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inheritable, 0)) {
        ThrowStartFailed("Cannot create a pipe", commandLine);
    }
    UniqueHandle readEnd(read);
    UniqueHandle writeEnd(write);
    // Only the write end goes to the child. Were the read end inherited too,
    // the child would hold both ends of its own output.
    if (!::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) {
        ThrowStartFailed("Cannot keep the pipe's read end", commandLine);
    }
    const UniqueHandle input = ChildInput();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    // The C runtime passes its own file table in the reserved fields; the
    // child must take its standard handles from the fields below instead.
    startup.lpReserved = nullptr;
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;
    startup.lpTitle = nullptr;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input ? input.Get() : nullptr;
    startup.hStdOutput = write;
    startup.hStdError = write;

    std::string mutableCommandLine = commandLine;  // CreateProcessA may write into it
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &started)) {
        ThrowStartFailed("Cannot start", commandLine);  // both pipe ends close on the way out
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    // From here on only the child, and whatever inherits from it, holds a
    // writer: the reads end when the last of them closes it.
    writeEnd.Reset();
    return std::make_unique<Win32CapturedProcess>(std::move(readEnd), std::move(process),
                                                  std::move(thread));
}

}  // namespace ktv::win32
