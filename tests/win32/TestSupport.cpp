#include "TestSupport.h"

#include <algorithm>
#include <thread>

#include "platform/Errors.h"
#include "platform/TextLines.h"
#include "platform/win32/UniqueFindHandle.h"
#include "platform/win32/Win32FileSystem.h"

namespace ktv::win32::testing {

TestFolder::TestFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    // The process id and a high-resolution tick tell folders of parallel test
    // processes and of one test process apart.
    LARGE_INTEGER tick{};
    ::QueryPerformanceCounter(&tick);
    path_ = std::string(temp) + "ktv-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(tick.QuadPart);
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    try {
        Win32FileSystem().DeleteFolder(path_);
    } catch (...) {
        // Left behind in the temporary folder; not worth failing a test over.
    }
}

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(Win32FileSystem().CurrentDirectory()) {}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    ::SetCurrentDirectoryA(saved_.c_str());
}

ProgramGuard::ProgramGuard(TaskId task)
    : process_(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, task)) {}

ProgramGuard::~ProgramGuard() {
    if (process_ && IsRunning()) {
        ::TerminateProcess(process_.Get(), 1);
        ::WaitForSingleObject(process_.Get(), 5000);
    }
}

bool ProgramGuard::WaitForEnd(std::chrono::milliseconds bound) const {
    return ::WaitForSingleObject(process_.Get(), static_cast<DWORD>(bound.count())) ==
           WAIT_OBJECT_0;
}

bool ProgramGuard::IsRunning() const {
    return ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    UniqueFindHandle search(::FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!search) {
        return names;
    }
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (::FindNextFileA(search.Get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string HelperCommand(const std::string& exeName) {
    return "\"" + Win32FileSystem().ExecutableFolder() + "\\" + exeName + "\"";
}

std::vector<std::string> WaitForLines(const std::string& path, std::size_t count,
                                      std::chrono::milliseconds bound) {
    Win32FileSystem files;
    const auto end = std::chrono::steady_clock::now() + bound;
    for (;;) {
        std::vector<std::string> lines;
        try {
            lines = SplitLines(files.ReadFile(path));
        } catch (const FileError&) {
            // not written yet
        }
        if (lines.size() >= count || std::chrono::steady_clock::now() >= end) {
            return lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace ktv::win32::testing
