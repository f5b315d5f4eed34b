#include "app/LanguageServerMain.h"

#include "platform/win32/WinApi.h"

#include <algorithm>
#include <thread>

#include "cli/LanguageServer.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Platform.h"

namespace ktv::win32 {
namespace {

// The handles themselves, not the C runtime's streams: nothing turns a LF
// into CR LF or stops at a Ctrl+Z, and a body is as many bytes as its
// header says.
class StandardInput : public ByteSource {
public:
    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD read = 0;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        return ::ReadFile(input_, buffer, asked, &read, nullptr) ? read : 0;
    }

private:
    HANDLE input_ = ::GetStdHandle(STD_INPUT_HANDLE);
};

class StandardOutput : public ByteSink {
public:
    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD written = 0;
            if (!::WriteFile(output_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                             nullptr) ||
                written == 0) {
                return;  // the client is gone; the end of its input ends the server
            }
            bytes.remove_prefix(written);
        }
    }

private:
    HANDLE output_ = ::GetStdHandle(STD_OUTPUT_HANDLE);
};

std::wstring WideFromUtf8(std::string_view utf8, DWORD flags) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(
                          ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    const int size = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                          nullptr, nullptr);
    return utf8;
}

TextConversions SystemText() {
    TextConversions text;
    text.ansiFromUtf8 = [](std::string_view utf8) -> std::optional<std::string> {
        const std::wstring wide = WideFromUtf8(utf8, MB_ERR_INVALID_CHARS);
        if (wide.empty() && !utf8.empty()) {
            return std::nullopt;  // not UTF-8
        }
        return ExactAnsi(wide);
    };
    text.utf8FromAnsi = [](std::string_view ansi) { return Utf8FromWide(WideFromAnsi(ansi)); };
    // Upper case, as NTFS compares names.
    text.pathKey = [](std::string_view path) {
        std::wstring wide = WideFromAnsi(path);
        ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
        return Utf8FromWide(wide);
    };
    text.ansiCodePage = ::GetACP();
    return text;
}

// The client's process ending ends the server: its builds stop, then the
// program. A process that cannot be opened for want of rights is there but
// cannot be watched.
void WatchClient(long long processId, std::function<void()> gone) {
    const bool valid = processId > 0 && processId <= 0xFFFFFFFFLL;
    const HANDLE process =
        valid ? ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)) : nullptr;
    if (process == nullptr && ::GetLastError() == ERROR_ACCESS_DENIED) {
        return;
    }
    std::thread([process, gone = std::move(gone)] {
        if (process != nullptr) {
            ::WaitForSingleObject(process, INFINITE);
        }
        gone();
        ::ExitProcess(1);
    }).detach();
}

}  // namespace

int RunLanguageServer(const BuildArguments& options) {
    Win32Platform real;
    Platform platform = real.Get();
    LanguageServerSystem system{platform, SystemText(), WatchClient};
    StandardInput in;
    StandardOutput out;
    return ServeLanguageClient(in, out, system, options);
}

}  // namespace ktv::win32
