// Test helper: sleeps, then writes a small file, so a test can tell whether
// its caller waited for it.
//   test_sleeper.exe <milliseconds> [<file to write when done>]
#include <cstdlib>
#include <fstream>

#include "platform/win32/WinApi.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    ::Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
    if (argc >= 3) {
        std::ofstream(argv[2], std::ios::binary) << "done";
    }
    return 0;
}
