// Stand-in for a console program (test and benchmark equipment): writes to
// its standard output and standard error as its
// arguments say, one step per argument, in order:
//   out:TEXT / err:TEXT  write TEXT (escapes \n \r \0 \s for a space, \\)
//   empty                a zero-length write to standard output
//   lines:N              N numbered lines "0000001 ...\n", in 4 KB writes
//   bulk:BYTES           that many bytes of 100-byte lines, in 64 KB writes
//   stamp                "stamp=<performance counter>\n" the moment it writes
//   pid                  "pid=<process id>\n"
//   sleep:MS             waits
//   readable-pipes       "readable-pipe\n" for each handle it holds, other than
//                        its standard input, that reads from a pipe
//   spawn ...            starts this program with the remaining arguments,
//                        inheriting its handles, and does not wait for it
//   fork ...             the same, and then carries on with them itself too
//   pidfile:PATH         appends its process id and a line end to PATH
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Write(HANDLE handle, const std::string& bytes) {
    DWORD written = 0;
    std::size_t at = 0;
    do {
        const auto size = static_cast<DWORD>(bytes.size() - at);
        if (!::WriteFile(handle, bytes.data() + at, size, &written, nullptr)) {
            std::exit(3);
        }
        at += written;
    } while (at < bytes.size());
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            case 's':
                out += ' ';
                break;
            default:
                out += text[i];
                break;
        }
    }
    return out;
}

std::string NumberedLine(int number) {
    char line[64];
    std::snprintf(line, sizeof line, "%07d the quick brown fox\n", number);
    return line;
}

void WriteInBlocks(HANDLE out, std::string& pending, std::size_t block, bool flush) {
    while (pending.size() >= block || (flush && !pending.empty())) {
        const std::size_t size = pending.size() < block ? pending.size() : block;
        Write(out, pending.substr(0, size));
        pending.erase(0, size);
    }
}

void Spawn(const std::vector<std::string>& arguments) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\"";
    for (const std::string& argument : arguments) {
        commandLine += " " + argument;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started)) {
        std::exit(4);
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
}

void ReportReadablePipes(HANDLE out) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        const auto handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        if (handle == input || !::GetHandleInformation(handle, &flags) ||
            ::GetFileType(handle) != FILE_TYPE_PIPE) {
            continue;
        }
        // Peeking needs read access: it works on a read end only.
        DWORD available = 0;
        if (::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) {
            Write(out, "readable-pipe\n");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const std::size_t colon = step.find(':');
        const std::string name = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : step.substr(colon + 1);
        if (name == "out" || name == "err") {
            Write(name == "out" ? out : err, Unescape(value));
        } else if (name == "empty") {
            DWORD written = 0;
            ::WriteFile(out, "", 0, &written, nullptr);
        } else if (name == "lines") {
            std::string pending;
            for (int number = 1, count = std::atoi(value.c_str()); number <= count; ++number) {
                pending += NumberedLine(number);
                WriteInBlocks(out, pending, 4096, false);
            }
            WriteInBlocks(out, pending, 4096, true);
        } else if (name == "bulk") {
            const long long total = std::atoll(value.c_str());
            std::string line(99, 'x');
            line += '\n';
            std::string block;
            while (block.size() < 65536) {
                block += line;
            }
            for (long long left = total; left > 0;) {
                const auto size = static_cast<std::size_t>(
                    left < static_cast<long long>(block.size()) ? left : block.size());
                Write(out, block.substr(0, size));
                left -= static_cast<long long>(size);
            }
        } else if (name == "stamp") {
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            Write(out, "stamp=" + std::to_string(now.QuadPart) + "\n");
        } else if (name == "pid") {
            Write(out, "pid=" + std::to_string(::GetCurrentProcessId()) + "\n");
        } else if (name == "sleep") {
            ::Sleep(static_cast<DWORD>(std::atoi(value.c_str())));
        } else if (name == "readable-pipes") {
            ReportReadablePipes(out);
        } else if (name == "spawn" || name == "fork") {
            Spawn(std::vector<std::string>(argv + i + 1, argv + argc));
            if (name == "spawn") {
                return 0;
            }
        } else if (name == "pidfile") {
            const HANDLE file =
                ::CreateFileA(value.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
            Write(file, std::to_string(::GetCurrentProcessId()) + "\r\n");
            ::CloseHandle(file);
        } else {
            return 2;
        }
    }
    return 0;
}
