// Stand-in for LCC's linker (test and demo equipment).
// lcclnk -o <output> [-subsystem windows|console | -dll] -s <base>.obj [<base>.res] [libs]
// writes <output> into the working directory: a copy of builtprog.exe, which
// lies beside this program. Without an output name it links to the default
// name, the first object file's name with ".exe", as linkers do.

#include <windows.h>

#include <cstdio>
#include <string>

#include "StandinCommon.h"

using namespace ktv::standins;

namespace {

// Dates the file this many seconds away from now, as a file server whose
// clock differs from this machine's would.
void ShiftWriteTime(const std::string& path, long long seconds) {
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{};
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart += static_cast<ULONGLONG>(seconds * 10'000'000LL);
    const FILETIME shifted{time.LowPart, time.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &shifted);
    ::CloseHandle(file);
}

}  // namespace

int main() {
    AppendCallLog("lcclnk");
    const Scenario scenario = Scenario::Load();
    if (!StartTool(scenario, "lcclnk")) {
        return 0;
    }
    const std::vector<std::string> arguments = Arguments();
    std::string output;
    std::string object;
    for (size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "-o" && index + 1 < arguments.size() && arguments[index + 1][0] != '-') {
            output = arguments[++index];
        } else if (argument == "-subsystem") {
            ++index;
        } else if (object.empty() && Upper(argument).ends_with(".OBJ")) {
            object = argument;
        }
    }

    if (output.empty() && Upper(object).ends_with(".OBJ")) {
        output = object.substr(0, object.size() - 4) + ".exe";
    }
    if (output.empty()) {
        std::fputs("lcclnk stand-in: no output file named\n", stderr);
    } else if (!FileExists(object)) {
        std::fprintf(stderr, "lcclnk stand-in: cannot open %s\n", object.c_str());
    } else if (!scenario.Flag("lcclnk.no_output")) {
        const auto program = ReadWholeFile(OwnFolder() + "\\builtprog.exe");
        if (!program || !WriteWholeFile(output, *program)) {
            std::fprintf(stderr, "lcclnk stand-in: cannot write %s\n", output.c_str());
        } else if (const auto offset = scenario.Get("lcclnk.time_offset_s")) {
            ShiftWriteTime(output, std::stoll(*offset));
        }
    }
    return Finish(scenario, "lcclnk");
}
