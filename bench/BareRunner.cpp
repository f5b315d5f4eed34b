// The baseline of the Debug-run benchmark: starts each command line of a file
// hidden and waits for it, in order, as a GUI program (no console of its own,
// like KTV Debugger), then shows a message box, as the measured run ends when
// its success box shows. A watcher thread notes when the box is visible and
// closes it. Repeats the whole list and writes the median time of one pass,
// in milliseconds, into the result file.
//
//   bare_runner <command-lines file> <working folder> <rounds> <result file>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kBoxTitle = "Success!";

void RunHiddenAndWait(std::string commandLine, const char* folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                         &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, INFINITE);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
}

// Polls as tightly as the benchmark polls for the program's box, notes when
// this process's box is visible and presses its OK button.
Clock::time_point WaitForBoxAndClose() {
    for (;;) {
        const HWND box = ::FindWindowA("#32770", kBoxTitle);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(box, &owner);
        if (box != nullptr && owner == ::GetCurrentProcessId() && ::IsWindowVisible(box)) {
            const auto shown = Clock::now();
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return shown;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 5) {
        return 2;
    }
    std::vector<std::string> commandLines;
    std::ifstream list(__argv[1]);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            commandLines.push_back(line);
        }
    }
    const int rounds = std::max(1, std::atoi(__argv[3]));
    std::vector<double> passes;
    for (int round = 0; round <= rounds; ++round) {
        Clock::time_point shown;
        std::thread watcher([&shown] { shown = WaitForBoxAndClose(); });
        const auto start = Clock::now();
        for (const std::string& commandLine : commandLines) {
            RunHiddenAndWait(commandLine, __argv[2]);
        }
        ::MessageBoxA(nullptr, "Application prog.bas has been compiled", kBoxTitle,
                      MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        watcher.join();
        if (round > 0) {  // the first pass warms the caches
            passes.push_back(std::chrono::duration<double, std::milli>(shown - start).count());
        }
    }
    std::sort(passes.begin(), passes.end());
    std::ofstream(__argv[4]) << passes[passes.size() / 2] << "\n";
    return 0;
}
