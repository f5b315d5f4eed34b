// Measures KTV Debugger against bare baselines run by this same program and
// prints the ratios:
//   start-up: process start to main window shown, against the same window
//             with the same controls and labels and nothing else (the
//             floor of any window of this kind); a bare one-window program
//             is printed for reference;
//   Debug run: press of Debug to the success box, with stand-ins that exit at
//             once, against a bare one-window program that starts and waits
//             for the same five command lines and then shows a box, driven
//             and timed the same way, in turns;
//   the window's longest answer to a sent message during a Debug run whose
//             translator takes 10 s, against 50 ms;
//   Stop: its press to every tool process gone (a hanging translator and a
//             helper it started), against 1 s;
//   the size of KTVDebugger.exe.
// Each figure also gets one line RESULT|figure|measured|baseline|ratio|goal
// that ./bench gathers into its table.
//
//   ktv_bench <KTVDebugger.exe> <controls_window.exe> <bare_window.exe> <stand-ins folder>
//             <bare_runner.exe> [rounds]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "WindowDriver.h"
#include "model/ControlIds.h"

using namespace ktv::driver;
using Clock = std::chrono::steady_clock;

namespace {

// The machine-readable line ./bench reads; `goal` is the largest ratio that meets it.
void PrintResult(const char* figure, const std::string& measured, const std::string& baseline,
                 double ratio, double goal) {
    std::printf("RESULT|%s|%s|%s|%.2f|%.2f\n", figure, measured.c_str(), baseline.c_str(), ratio,
                goal);
}

std::string FormatMs(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.0f ms", value);
    return text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Search {
    DWORD processId;
    const char* title;  // null: a message box (dialog class #32770)
    bool found = false;
};

// True when the process shows a window with this title, or any message box.
// Lighter than the driver's FindTopLevel (one query per window, not two): it
// runs every millisecond while a run is timed, and each query is a round trip
// to the window system that the measured program waits behind.
bool WindowShown(DWORD processId, const char* title) {
    Search search{processId, title};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            char text[128] = {};
            if (s->title == nullptr) {
                ::GetClassNameA(window, text, sizeof(text));
            } else {
                ::GetWindowTextA(window, text, sizeof(text));
            }
            const char* wanted = s->title == nullptr ? "#32770" : s->title;
            if (owner == s->processId && ::IsWindowVisible(window) && std::string(text) == wanted) {
                s->found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds from CreateProcess to the visible window with this title.
double StartUntilShown(const std::string& program, const std::string& folder, const char* title) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\"";
    const auto start = Clock::now();
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        throw DriverError("cannot start " + program);
    }
    double elapsed = -1;
    while (Clock::now() - start < std::chrono::seconds(30)) {
        if (WindowShown(info.dwProcessId, title)) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::TerminateProcess(info.hProcess, 0);
    ::WaitForSingleObject(info.hProcess, 5000);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    if (elapsed < 0) {
        throw DriverError("no window from " + program);
    }
    return elapsed;
}

// Against the floor: the same window with the same controls and labels and
// nothing else. The bare one-window program is printed for reference.
void BenchStartUp(const std::string& program, const std::string& floor, const std::string& bare,
                  int rounds) {
    TestLayout layout(program, ToWindowsPath(KTV_BENCH_STANDINS));
    std::vector<double> ktv;
    std::vector<double> controls;
    std::vector<double> oneWindow;
    StartUntilShown(layout.Program(), layout.Root(), "KTV Debugger 3.001");  // warm caches
    StartUntilShown(floor, layout.Root(), "Controls Floor");
    StartUntilShown(bare, layout.Root(), "Bare Window");
    for (int round = 0; round < rounds; ++round) {
        ktv.push_back(StartUntilShown(layout.Program(), layout.Root(), "KTV Debugger 3.001"));
        controls.push_back(StartUntilShown(floor, layout.Root(), "Controls Floor"));
        oneWindow.push_back(StartUntilShown(bare, layout.Root(), "Bare Window"));
    }
    std::printf(
        "start-up to window shown: KTV Debugger %.0f ms, the same controls alone %.0f ms, "
        "ratio %.2f (goal <= 1.1); a bare one-window program %.0f ms (ratio %.2f)\n",
        Median(ktv), Median(controls), Median(ktv) / Median(controls), Median(oneWindow),
        Median(ktv) / Median(oneWindow));
    PrintResult("start-up to window shown", FormatMs(Median(ktv)),
                FormatMs(Median(controls)) + " same controls alone", Median(ktv) / Median(controls),
                1.1);
}

// Milliseconds from posting the message that starts a run to the process's
// message box on screen; then presses its OK. The box must be "Success!".
double RunUntilSuccessBox(DWORD processId, const std::function<void()>& start) {
    const auto started = Clock::now();
    start();
    // Polled tightly, so that the measurement holds the run, not the poll.
    while (!WindowShown(processId, nullptr) && Clock::now() - started < std::chrono::seconds(60)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double elapsed =
        std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    const HWND box = FindTopLevel(processId, "#32770", nullptr);
    if (box == nullptr || TextOf(box) != "Success!") {
        throw DriverError("the run did not succeed: " +
                          (box ? TextOf(::GetDlgItem(box, 0xFFFF)) : std::string("no box")));
    }
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); })) {
        throw DriverError("the box did not close");
    }
    return elapsed;
}

// The bare runner, started on the command lines of a file and closed at the end.
class BareRunner {
    static constexpr int kRunButtonId = 1;  // as bench/BareRunner.cpp has it

public:
    BareRunner(const std::string& runner, const std::string& commands, const std::string& folder) {
        std::string line = "\"" + runner + "\" \"" + commands + "\" \"" + folder + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(runner.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info)) {
            throw DriverError("cannot start " + runner);
        }
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        if (!WaitUntil(
                [&] { return (window_ = FindTopLevel(processId_, nullptr, "Bare Runner")); })) {
            throw DriverError("the bare runner shows no window");
        }
    }
    BareRunner(const BareRunner&) = delete;
    BareRunner& operator=(const BareRunner&) = delete;
    ~BareRunner() {
        ::PostMessageA(window_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_, 1);
        }
        ::CloseHandle(process_);
    }

    double Run() {
        return RunUntilSuccessBox(processId_, [&] {
            ::PostMessageA(::GetDlgItem(window_, kRunButtonId), BM_CLICK, 0, 0);
        });
    }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// Points the program's fields at the layout's tools and Basic file, with no
// editor to open.
void UseStandIns(AppSession& app, const TestLayout& layout) {
    app.SetText(ktv::ids::kLccDirectoryField, layout.LccDir());
    app.SetText(ktv::ids::kKtvDirectoryField, layout.KtvDir());
    app.SetText(ktv::ids::kBasicFileField, layout.BasicFile());
    app.Click(ktv::ids::kLaunchJfeBox);  // JFE's box off
}

void BenchDebugRun(const std::string& program, const std::string& standins,
                   const std::string& runner, int rounds) {
    TestLayout layout(program, standins);
    AppSession app(layout.Program(), layout.Root());
    UseStandIns(app, layout);
    const auto debugRun = [&] {
        const double elapsed =
            RunUntilSuccessBox(app.ProcessId(), [&] { app.Click(ktv::ids::kDebugButton); });
        app.WaitUntilIdle();
        return elapsed;
    };
    debugRun();  // warms the caches, and logs the command lines the run starts

    // The same five command lines, in the same folder, in the bare runner.
    std::string commandLines;
    for (const auto& [tool, count] :
         {std::pair<const char*, std::size_t>{"ktvc", 1}, {"lrc", 2}, {"lcc", 1}, {"lcclnk", 1}}) {
        const std::vector<std::string> lines = layout.CommandLinesOf(tool);
        if (lines.size() < count) {
            throw DriverError(std::string("the stand-in log holds no run of ") + tool);
        }
        for (std::size_t index = lines.size() - count; index < lines.size(); ++index) {
            commandLines += lines[index] + "\r\n";
        }
    }
    layout.Write("commands.txt", commandLines);
    BareRunner bare(runner, layout.Root() + "\\commands.txt", layout.WorkDir());
    bare.Run();  // warms its caches too

    // Taken in turns, so that a busy spell of the machine weighs on both.
    std::vector<double> ktv;
    std::vector<double> baseline;
    for (int round = 0; round < rounds; ++round) {
        ktv.push_back(debugRun());
        baseline.push_back(bare.Run());
    }
    app.Close();
    std::printf(
        "Debug run, press to success box: KTV Debugger %.0f ms, bare loop of the same "
        "5 tools %.0f ms, ratio %.2f (goal <= 1.2)\n",
        Median(ktv), Median(baseline), Median(ktv) / Median(baseline));
    PrintResult("Debug run, press to success box", FormatMs(Median(ktv)),
                FormatMs(Median(baseline)) + " bare loop of the 5 tools",
                Median(ktv) / Median(baseline), 1.2);
}

// A run the user watches and stops: the window answers while a translator
// works for 10 s, and Stop ends a hanging translator and its helper.
void BenchWatchAndStop(const std::string& program, const std::string& standins, int rounds) {
    TestLayout layout(program, standins);
    AppSession app(layout.Program(), layout.Root());
    UseStandIns(app, layout);

    layout.Write("work\\scenario.txt", "ktvc.hang_ms=10000\r\n");
    double longest = 0;
    {
        const AnswerWatch watch(app.MainWindow());
        RunUntilSuccessBox(app.ProcessId(), [&] { app.Click(ktv::ids::kDebugButton); });
        longest = static_cast<double>(watch.Longest().count());
    }
    app.WaitUntilIdle();
    std::printf(
        "longest answer to a sent message during a Debug run with a 10 s translator: "
        "%.0f ms (goal <= 50)\n",
        longest);
    PrintResult("window answers during a Debug run, 10 s translator (worst)", FormatMs(longest),
                "50 ms limit", longest / 50.0, 1.0);

    layout.Write("work\\scenario.txt", "ktvc.helper=1\r\nktvc.hang_ms=60000\r\n");
    std::vector<double> stops;
    for (int round = 0; round < rounds; ++round) {
        const std::size_t calls = layout.CommandLinesOf("ktvc").size();
        app.Click(ktv::ids::kDebugButton);
        if (!WaitUntil([&] { return layout.CommandLinesOf("ktvc").size() == calls + 2; })) {
            throw DriverError("the translator and its helper did not start (" +
                              std::to_string(layout.CommandLinesOf("ktvc").size()) + " calls) " +
                              TextOf(app.Control(ktv::ids::kStatusBar)) + "|" +
                              TextOf(app.Control(ktv::ids::kDebugButton)));
        }
        const auto pressed = Clock::now();
        app.Click(ktv::ids::kDebugButton);
        while (!ProcessesNamed("ktvc.exe").empty() &&
               Clock::now() - pressed < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        stops.push_back(std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
        app.WaitUntilIdle();
    }
    app.Close();
    std::printf("Stop to every tool process gone: median %.0f ms, worst %.0f ms (goal <= 1000)\n",
                Median(stops), *std::max_element(stops.begin(), stops.end()));
    PrintResult("Stop pressed to every tool process gone (median)", FormatMs(Median(stops)),
                "1000 ms limit", Median(stops) / 1000.0, 1.0);
}

void PrintSize(const std::string& program) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &data);
    const double megabytes = static_cast<double>(data.nFileSizeLow) / (1024.0 * 1024.0);
    std::printf("KTVDebugger.exe: %lu bytes = %.2f MB, ratio to the 1.5 MB goal %.2f\n",
                static_cast<unsigned long>(data.nFileSizeLow), megabytes, megabytes / 1.5);
    char measured[32];
    std::snprintf(measured, sizeof(measured), "%.2f MB", megabytes);
    PrintResult("KTVDebugger.exe size", measured, "1.50 MB limit", megabytes / 1.5, 1.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: ktv_bench <KTVDebugger.exe> <controls_window.exe> <bare_window.exe> "
                     "<stand-ins> <bare_runner.exe> [rounds]\n");
        return 2;
    }
    const std::string program = ToWindowsPath(argv[1]);
    const std::string floor = ToWindowsPath(argv[2]);
    const std::string bare = ToWindowsPath(argv[3]);
    const std::string standins = ToWindowsPath(argv[4]);
    const std::string runner = ToWindowsPath(argv[5]);
    const int rounds = argc > 6 ? std::max(1, std::atoi(argv[6])) : 7;
    int status = 0;
    PrintSize(program);
    try {
        BenchStartUp(program, floor, bare, rounds);
    } catch (const std::exception& failure) {
        std::printf("start-up: not measured (%s)\n", failure.what());
        std::printf("RESULT|start-up to window shown|not measured|-|-|1.10\n");
        status = 1;
    }
    try {
        BenchDebugRun(program, standins, runner, rounds);
    } catch (const std::exception& failure) {
        std::printf("Debug run: not measured (%s)\n", failure.what());
        std::printf("RESULT|Debug run, press to success box|not measured|-|-|1.20\n");
        status = 1;
    }
    try {
        BenchWatchAndStop(program, standins, rounds);
    } catch (const std::exception& failure) {
        std::printf("watch and stop: not measured (%s)\n", failure.what());
        std::printf(
            "RESULT|window answers during a Debug run, 10 s translator (worst)|not "
            "measured|-|-|1.00\n");
        std::printf(
            "RESULT|Stop pressed to every tool process gone (median)|not measured|-|-|1.00\n");
        status = 1;
    }
    return status;
}
