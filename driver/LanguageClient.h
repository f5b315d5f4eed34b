#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "cli/JsonRpc.h"
#include "platform/win32/WinApi.h"

// Works ktvbuild.exe --lsp from outside, over pipes to its standard input
// and output, as an editor does: for the end-to-end tests and the
// benchmark. It agrees to every progress token the server asks for.
namespace ktv::driver {

class LanguageClient {
public:
    // Starts the command line in the folder, with the pipes as its standard
    // input and output.
    LanguageClient(const std::string& commandLine, const std::string& folder);
    LanguageClient(const LanguageClient&) = delete;
    LanguageClient& operator=(const LanguageClient&) = delete;
    // Closes the server's input, waits a moment for it to end, ends it.
    ~LanguageClient();

    // The handshake, as a client that offers progress: false when the
    // server did not answer.
    bool Initialize(const Json& initializationOptions, const Json& processId = nullptr);
    void Send(const Json& message);
    void Notify(const std::string& method, const Json& params);
    // The next message that meets the condition, those before it passed
    // over; nothing when none came within the time or the server ended.
    std::optional<Json> WaitFor(const std::function<bool(const Json&)>& meets,
                                std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // The server's exit code once it has ended within the time.
    std::optional<DWORD> ExitCode(std::chrono::milliseconds timeout);
    void CloseInput();
    DWORD ProcessId() const { return processId_; }

private:
    void ReadMessages();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HANDLE input_ = nullptr;   // the server's standard input, our end
    HANDLE output_ = nullptr;  // its standard output, our end
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Json> received_;
    bool ended_ = false;
    std::thread reader_;
};

// A server's notification of this method.
std::function<bool(const Json&)> Notification(const std::string& method);

}  // namespace ktv::driver
