// Measures ktvbuild --lsp: a save to the Basic file's diagnostics published,
// against the same build run as plain ktvbuild (process start to exit), in
// turns, with stand-in tools that exit at once and a compiler error on a
// Basic line, so that both report one problem. Prints one line
// RESULT|figure|measured|baseline|ratio|goal for ./benchmark.
//
//   ktv_lsp_bench <ktvbuild.exe> <stand-ins folder> [rounds]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "LanguageClient.h"
#include "WindowDriver.h"
#include "cli/FileUris.h"

using namespace ktv::driver;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kGoal = 1.10;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Plain ktvbuild on the same file, from process start to its exit.
double PlainBuild(const TestLayout& layout) {
    std::string line = "\"" + layout.Root() + "\\ktvbuild.exe\" --lcc \"" + layout.LccDir() +
                       "\" --ktv \"" + layout.KtvDir() + "\" --console \"" + layout.BasicFile() +
                       "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const Clock::time_point start = Clock::now();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          layout.WorkDir().c_str(), &startup, &started)) {
        throw DriverError("cannot start ktvbuild");
    }
    ::WaitForSingleObject(started.hProcess, INFINITE);
    const double took = MillisecondsSince(start);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
    return took;
}

void Bench(const std::string& ktvbuild, const std::string& standins, int rounds) {
    TestLayout layout(ktvbuild, standins);
    layout.Copy(ktvbuild, "ktvbuild.exe");
    layout.Write("work\\scenario.txt", "lcc.error_at_basic=3  undeclared identifier 'x'\r\n");
    ktv::TextConversions ascii;
    ascii.utf8FromAnsi = [](std::string_view text) { return std::string(text); };
    const std::string uri = ktv::UriFromPath(layout.BasicFile(), ascii);

    LanguageClient client("\"" + layout.Root() + "\\ktvbuild.exe\" --lsp", layout.WorkDir());
    if (!client.Initialize({{"lccPath", layout.LccDir()},
                            {"ktvPath", layout.KtvDir()},
                            {"linkMode", "console"}})) {
        throw DriverError("the server did not answer initialize");
    }
    const auto published = [&](const ktv::Json& m) {
        return m.value("method", "") == "textDocument/publishDiagnostics" &&
               m["params"]["uri"] == uri && !m["params"]["diagnostics"].empty();
    };
    std::vector<double> served;
    std::vector<double> plain;
    for (int round = 0; round < rounds + 1; ++round) {  // the first round warms up
        const Clock::time_point start = Clock::now();
        client.Notify("textDocument/didSave", {{"textDocument", {{"uri", uri}}}});
        if (!client.WaitFor(published)) {
            throw DriverError("no diagnostics were published");
        }
        const double took = MillisecondsSince(start);
        const double baseline = PlainBuild(layout);
        if (round > 0) {
            served.push_back(took);
            plain.push_back(baseline);
        }
    }
    const double ratio = Median(served) / Median(plain);
    std::printf("save to diagnostics: median %.0f ms; plain ktvbuild: median %.0f ms; ratio %.2f\n",
                Median(served), Median(plain), ratio);
    std::printf(
        "RESULT|ktvbuild --lsp, save to diagnostics published|%.0f ms|%.0f ms plain "
        "ktvbuild, same build|%.2f|%.2f\n",
        Median(served), Median(plain), ratio, kGoal);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ktv_lsp_bench <ktvbuild.exe> <stand-ins> [rounds]\n");
        return 2;
    }
    try {
        Bench(ToWindowsPath(argv[1]), ToWindowsPath(argv[2]),
              argc > 3 ? std::max(1, std::atoi(argv[3])) : 7);
        return 0;
    } catch (const std::exception& failure) {
        std::printf("language server: not measured (%s)\n", failure.what());
        std::printf("RESULT|ktvbuild --lsp, save to diagnostics published|not measured|-|-|%.2f\n",
                    kGoal);
        return 1;
    }
}
