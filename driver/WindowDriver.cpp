#include "WindowDriver.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "model/ControlIds.h"
#include "platform/win32/ToolJob.h"

#include <tlhelp32.h>

namespace ktv::driver {

std::string ToWindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.starts_with("\\") ? "Z:" + path : path;
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(Milliseconds(25));
    }
    return true;
}

HWND FindTopLevel(DWORD processId, const char* className, const char* title) {
    struct Search {
        DWORD processId;
        const char* className;
        const char* title;
        HWND found = nullptr;
    } search{processId, className, title};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            char text[256] = {};
            ::GetWindowTextA(window, text, sizeof text);
            const bool found = (s->processId == 0 || owner == s->processId) &&
                               ::IsWindowVisible(window) &&
                               (s->className == nullptr || std::string(name) == s->className) &&
                               (s->title == nullptr || std::string(text) == s->title);
            s->found = found ? window : nullptr;
            return !found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND window) {
    std::string text(1 << 16, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

std::vector<DWORD> ProcessesNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, exeName.c_str()) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    ::CloseHandle(snapshot);
    return ids;
}

bool HasEnded(DWORD processId) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    const bool ended = process == nullptr || ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    if (process != nullptr) {
        ::CloseHandle(process);
    }
    return ended;
}

TestLayout::TestLayout(const std::string& program, const std::string& standins) {
    static std::atomic<int> counter{0};
    root_ =
        (std::filesystem::temp_directory_path() /
         ("ktv-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++)))
            .string();
    std::filesystem::remove_all(root_);
    for (const char* folder : {"\\lcc\\bin", "\\ktv\\bin", "\\work"}) {
        std::filesystem::create_directories(root_ + folder);
    }
    Copy(program, "KTVDebugger.exe");
    for (const char* tool : {"lrc.exe", "lcc.exe", "lcclnk.exe", "builtprog.exe"}) {
        Copy(standins + "\\" + tool, std::string("lcc\\bin\\") + tool);
    }
    Copy(standins + "\\ktvc.exe", "ktv\\bin\\ktvc.exe");
    Write("work\\prog.bas", "$SOURCE\r\nPRINT \"Hello\"\r\nx = 1\r\nPRINT x\r\n");
}

TestLayout::~TestLayout() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TestLayout::Write(const std::string& relative, const std::string& bytes) const {
    std::ofstream(root_ + "\\" + relative, std::ios::binary) << bytes;
}

std::optional<std::string> TestLayout::Read(const std::string& relative) const {
    std::ifstream in(root_ + "\\" + relative, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void TestLayout::Copy(const std::string& from, const std::string& toRelative) const {
    if (!::CopyFileA(from.c_str(), (root_ + "\\" + toRelative).c_str(), FALSE)) {
        throw DriverError("cannot copy " + from);
    }
}

std::vector<std::string> TestLayout::CommandLinesOf(const std::string& program) const {
    std::vector<std::string> commandLines;
    std::istringstream log(Read("work\\standins.log").value_or(""));
    for (std::string line; std::getline(log, line);) {
        const std::size_t second = line.find('|', line.find('|') + 1);
        if (line.starts_with(program + "|") && second != std::string::npos) {
            commandLines.push_back(line.substr(second + 1, line.size() - second - 2));  // no CR
        }
    }
    return commandLines;
}

std::vector<std::string> TestLayout::List(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_ + "\\" + relative)) {
        if (entry.path().filename() != "standins.log") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

AnswerWatch::AnswerWatch(HWND window)
    : thread_([this, window] {
          while (!done_.load()) {
              const auto sent = std::chrono::steady_clock::now();
              DWORD_PTR result = 0;
              ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
              const auto took =
                  std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - sent);
              longestMs_.store(std::max(longestMs_.load(), static_cast<long long>(took.count())));
              std::this_thread::sleep_for(Milliseconds(10));
          }
      }) {}

AnswerWatch::~AnswerWatch() {
    done_.store(true);
    thread_.join();
}

AppSession::AppSession(const std::string& program, const std::string& workingDirectory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDirectory.c_str(), &startup, &info)) {
        throw DriverError("cannot start " + program);
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    if (!WaitUntil([&] {
            mainWindow_ = FindTopLevel(processId_, nullptr, "KTV Debugger 3.001");
            return mainWindow_ != nullptr || HasExited();
        }) ||
        mainWindow_ == nullptr) {
        throw DriverError("the main window did not appear");
    }
}

AppSession::~AppSession() {
    // The programs it started go too (editors, Wedit, the command window) and
    // theirs: the program first, so that it starts nothing more meanwhile.
    // Under Wine each holds the test's output, so one left would keep ctest
    // waiting on it.
    win32::ToolJob().EndAll(process_, processId_);
    ::CloseHandle(process_);
}

void AppSession::SetText(int id, const std::string& text) const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, 5000, &result);
}

int AppSession::CheckState(int id) const {
    DWORD_PTR state = 0;
    ::SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return static_cast<int>(state);
}

void AppSession::Set(int id, int state) const {
    const bool set = WaitUntil(
        [&] {
            if (CheckState(id) != state) {
                ::SendMessageA(Control(id), BM_CLICK, 0, 0);  // handled before it returns
            }
            return CheckState(id) == state;
        },
        Milliseconds(5000));
    if (!set) {
        throw DriverError("control " + std::to_string(id) + " does not take the state");
    }
}

std::optional<MessageBoxInfo> AppSession::WaitForBox() const {
    MessageBoxInfo box;
    if (!WaitUntil([&] {
            box.window = FindTopLevel(processId_, "#32770", nullptr);
            return box.window != nullptr || HasExited();
        }) ||
        box.window == nullptr) {
        return std::nullopt;
    }
    box.title = TextOf(box.window);
    box.text = TextOf(::GetDlgItem(box.window, 0xFFFF));  // a message box's prompt
    return box;
}

void AppSession::PressOk(const MessageBoxInfo& box) const {
    ::PostMessageA(box.window, WM_COMMAND, IDOK, 0);
    if (!WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); })) {
        throw DriverError("the box did not close");
    }
}

bool AppSession::WaitUntilIdle() const {
    return WaitUntil(
        [&] { return !IsRunning() && FindTopLevel(processId_, "#32770", nullptr) == nullptr; });
}

bool AppSession::IsRunning() const {
    return TextOf(Control(ids::kDebugButton)) != "Debug";
}

bool AppSession::Close() {
    ::PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
    return ::WaitForSingleObject(process_, 30000) == WAIT_OBJECT_0;
}

}  // namespace ktv::driver
