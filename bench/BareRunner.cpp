// The baseline of the Debug-run benchmark: starts each command line of a file
// hidden and waits for it, in order, as a GUI program (no console of its own,
// like KTV Debugger). Repeats the whole list and writes the median time of
// one pass, in milliseconds, into the result file.
//
//   bare_runner <command-lines file> <working folder> <rounds> <result file>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

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
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& commandLine : commandLines) {
            RunHiddenAndWait(commandLine, __argv[2]);
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (round > 0) {  // the first pass warms the caches
            passes.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
        }
    }
    std::sort(passes.begin(), passes.end());
    std::ofstream(__argv[4]) << passes[passes.size() / 2] << "\n";
    return 0;
}
