#include "LanguageClient.h"

#include <vector>

#include "WindowDriver.h"
#include "cli/LspFrames.h"

namespace ktv::driver {
namespace {

// The server's standard output as the frame reader's source.
class PipeSource : public ByteSource {
public:
    explicit PipeSource(HANDLE pipe) : pipe_(pipe) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD read = 0;
        return ::ReadFile(pipe_, buffer, static_cast<DWORD>(size), &read, nullptr) ? read : 0;
    }

private:
    HANDLE pipe_;
};

}  // namespace

LanguageClient::LanguageClient(const std::string& commandLine, const std::string& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE serverInput = nullptr;
    HANDLE serverOutput = nullptr;
    if (!::CreatePipe(&serverInput, &input_, &inherit, 0) ||
        !::CreatePipe(&output_, &serverOutput, &inherit, 0)) {
        throw DriverError("cannot make the pipes");
    }
    ::SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = serverInput;
    startup.hStdOutput = serverOutput;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION started{};
    const BOOL ok = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     folder.c_str(), &startup, &started);
    ::CloseHandle(serverInput);
    ::CloseHandle(serverOutput);
    if (!ok) {
        throw DriverError("cannot start " + commandLine);
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    processId_ = started.dwProcessId;
    reader_ = std::thread([this] { ReadMessages(); });
}

LanguageClient::~LanguageClient() {
    CloseInput();
    if (::WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_, 1);
    }
    reader_.join();
    ::CloseHandle(output_);
    ::CloseHandle(process_);
}

void LanguageClient::ReadMessages() {
    PipeSource source(output_);
    FrameReader frames(source);
    while (const std::optional<Frame> frame = frames.Next()) {
        Json message = Json::parse(frame->body, nullptr, false);
        if (message.value("method", "") == "window/workDoneProgress/create") {
            Send({{"jsonrpc", "2.0"}, {"id", message["id"]}, {"result", nullptr}});
        }
        const std::lock_guard<std::mutex> lock(mutex_);
        received_.push_back(std::move(message));
        arrived_.notify_all();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    ended_ = true;
    arrived_.notify_all();
}

bool LanguageClient::Initialize(const Json& initializationOptions, const Json& processId) {
    Send({{"jsonrpc", "2.0"},
          {"id", 1},
          {"method", "initialize"},
          {"params",
           {{"processId", processId},
            {"capabilities", {{"window", {{"workDoneProgress", true}}}}},
            {"initializationOptions", initializationOptions}}}});
    if (!WaitFor([](const Json& m) { return m.contains("result"); })) {
        return false;
    }
    Notify("initialized", Json::object());
    return true;
}

void LanguageClient::Send(const Json& message) {
    const std::string framed = FramedMessage(message.dump());
    DWORD written = 0;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (input_ != nullptr) {
        ::WriteFile(input_, framed.data(), static_cast<DWORD>(framed.size()), &written, nullptr);
    }
}

void LanguageClient::Notify(const std::string& method, const Json& params) {
    Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

void LanguageClient::CloseInput() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (input_ != nullptr) {
        ::CloseHandle(input_);
        input_ = nullptr;
    }
}

std::optional<Json> LanguageClient::WaitFor(const std::function<bool(const Json&)>& meets,
                                            std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        while (!received_.empty()) {
            Json message = std::move(received_.front());
            received_.pop_front();
            if (meets(message)) {
                return message;
            }
        }
        if (ended_ || arrived_.wait_until(lock, deadline) == std::cv_status::timeout) {
            return std::nullopt;
        }
    }
}

std::optional<DWORD> LanguageClient::ExitCode(std::chrono::milliseconds timeout) {
    DWORD code = 0;
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process_, &code)) {
        return std::nullopt;
    }
    return code;
}

std::function<bool(const Json&)> Notification(const std::string& method) {
    return [method](const Json& message) { return message.value("method", "") == method; };
}

}  // namespace ktv::driver
