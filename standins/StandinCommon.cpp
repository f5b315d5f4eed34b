#include "StandinCommon.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace ktv::standins {

Scenario Scenario::Load() {
    Scenario scenario;
    const auto text = ReadWholeFile("scenario.txt");
    if (!text) {
        return scenario;
    }
    for (const std::string& line : SplitLines(*text)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        scenario.entries_.emplace_back(Trim(line.substr(0, equals)), line.substr(equals + 1));
    }
    return scenario;
}

std::optional<std::string> Scenario::Get(std::string_view key) const {
    std::optional<std::string> value;
    for (const auto& [entryKey, entryValue] : entries_) {
        if (entryKey == key) {
            value = entryValue;
        }
    }
    return value;
}

bool Scenario::Flag(std::string_view key) const {
    const auto value = Get(key);
    if (!value) {
        return false;
    }
    const std::string word = Upper(Trim(*value));
    return word == "1" || word == "TRUE" || word == "YES";
}

void AppendCallLog(std::string_view program) {
    char directory[MAX_PATH * 2] = {};
    ::GetCurrentDirectoryA(sizeof(directory), directory);
    const std::string line =
        std::string(program) + "|" + directory + "|" + ::GetCommandLineA() + "\r\n";
    // Several stand-ins may log at once (the program run by cmd.exe, say):
    // append-only writes with sharing, retried while another holds the file.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file =
            ::CreateFileA("standins.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            ::CloseHandle(file);
            return;
        }
        ::Sleep(20);
    }
}

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    const std::string_view line = ::GetCommandLineA();
    std::string current;
    bool inQuotes = false;
    bool hasArgument = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            hasArgument = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (hasArgument) {
                arguments.push_back(current);
                current.clear();
                hasArgument = false;
            }
        } else {
            current += c;
            hasArgument = true;
        }
    }
    if (hasArgument) {
        arguments.push_back(current);
    }
    return arguments;
}

bool StartTool(const Scenario& scenario, std::string_view program) {
    const std::string prefix(program);
    const std::vector<std::string> arguments = Arguments();
    if (!arguments.empty() && arguments.back() == "--helper") {
        ::Sleep(static_cast<DWORD>(std::strtoul(
            scenario.Get(prefix + ".helper_ms").value_or("120000").c_str(), nullptr, 10)));
        return false;
    }
    if (scenario.Flag(prefix + ".helper")) {
        std::string commandLine = std::string(::GetCommandLineA()) + " --helper";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &started)) {
            ::CloseHandle(started.hThread);
            ::CloseHandle(started.hProcess);
        }
    }
    if (const auto hang = scenario.Get(prefix + ".hang_ms")) {
        ::Sleep(static_cast<DWORD>(std::strtoul(hang->c_str(), nullptr, 10)));
    }
    return true;
}

int Finish(const Scenario& scenario, std::string_view program) {
    const std::string prefix(program);
    if (const auto sleep = scenario.Get(prefix + ".sleep_ms")) {
        ::Sleep(static_cast<DWORD>(std::strtoul(sleep->c_str(), nullptr, 10)));
    }
    if (const auto code = scenario.Get(prefix + ".exit_code")) {
        return std::atoi(code->c_str());
    }
    return 0;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StripExtension(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {
std::string OwnPath() {
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}
}  // namespace

std::string OwnFolder() {
    return FolderOf(OwnPath());
}

std::string OwnFileName() {
    return FileNameOf(OwnPath());
}

std::string Trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string Upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

}  // namespace ktv::standins
