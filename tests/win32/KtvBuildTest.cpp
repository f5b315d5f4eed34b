// ktvbuild.exe on a console: what the console shows of its lines.

#include <functional>

#include "Win32Test.h"

namespace ktv::win32 {
namespace {

// A console of the test's own while it lives, in the OEM code page a console
// starts in on a Western European Windows (850); the programs the test starts
// write to it.
class OwnConsole {
public:
    OwnConsole() {
        ::FreeConsole();
        made = ::AllocConsole() && ::SetConsoleOutputCP(850);
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;
    ~OwnConsole() {
        ::FreeConsole();
        for (std::size_t i = 0; i < 3; ++i) {
            ::SetStdHandle(kStandard[i], saved_[i]);
        }
    }

    bool made = false;

    // Every character on the screen, row after row.
    std::wstring Screen() const {
        const HANDLE output =
            ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        CONSOLE_SCREEN_BUFFER_INFO info{};
        ::GetConsoleScreenBufferInfo(output, &info);
        std::wstring screen(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(output, screen.data(), static_cast<DWORD>(screen.size()),
                                      COORD{0, 0}, &read);
        ::CloseHandle(output);
        return screen.substr(0, read);
    }

private:
    static constexpr DWORD kStandard[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    const HANDLE saved_[3] = {::GetStdHandle(kStandard[0]), ::GetStdHandle(kStandard[1]),
                              ::GetStdHandle(kStandard[2])};
};

// Runs ktvbuild on the test's console, in a process group of its own;
// `meanwhile` gets its process id while it runs. Its exit code.
DWORD RunKtvBuild(const std::wstring& arguments, const std::function<void(DWORD)>& meanwhile = {}) {
    std::wstring commandLine = L"\"Z:" +
                               std::wstring(KTV_KTVBUILD, KTV_KTVBUILD + sizeof KTV_KTVBUILD - 1) +
                               L"\" " + arguments;
    std::replace(commandLine.begin(), commandLine.end(), L'/', L'\\');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    DWORD exitCode = ~0u;
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                         CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started)) {
        if (meanwhile) {
            meanwhile(started.dwProcessId);
        }
        ::WaitForSingleObject(started.hProcess, 30000);
        ::GetExitCodeProcess(started.hProcess, &exitCode);
        ::CloseHandle(started.hProcess);
        ::CloseHandle(started.hThread);
    }
    return exitCode;
}

TEST(KtvBuild, OnAConsolePathsShowAsTheyAreAndOnesTheToolsCannotTakeAreRefused) {
    testing::TestFolder folder;
    const std::wstring root(folder.Path().begin(), folder.Path().end());
    // é is in the ANSI code page (1252 here), 日本 is not.
    const std::wstring written = root + L"\\H\u00E9l\u00E8ne";
    const std::wstring unwritable = root + L"\\\u65E5\u672C";
    for (const std::wstring& path : {written, unwritable}) {
        ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
        ::CloseHandle(::CreateFileW((path + L"\\prog.bas").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr));
    }
    OwnConsole console;
    ASSERT_TRUE(console.made);
    EXPECT_EQ(RunKtvBuild(L"--ktv c:\\missing \"" + written + L"\\prog.bas\""), 2u);
    EXPECT_EQ(RunKtvBuild(L"\"" + unwritable + L"\\prog.bas\""), 2u);
    const std::wstring screen = console.Screen();
    EXPECT_NE(screen.find(L"ktvbuild: note: " + written + L"\\prog.bas has no $SOURCE line"),
              std::wstring::npos);
    EXPECT_NE(screen.find(L"ktvbuild: error: The path " + unwritable +
                          L"\\prog.bas holds characters that the KTV and LCC tools cannot take"),
              std::wstring::npos);
}

// Ctrl+Break reaches a console program as Windows delivers it: on a thread
// of its own that runs the console's event routine. (Wine cannot generate
// the event for a process group.)
void SendCtrlBreak(DWORD processId) {
    const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "CtrlRoutine")));
    const HANDLE process = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    const HANDLE thread =
        routine != nullptr && process != nullptr
            ? ::CreateRemoteThread(
                  process, nullptr, 0, routine,
                  reinterpret_cast<void*>(static_cast<DWORD_PTR>(CTRL_BREAK_EVENT)), 0, nullptr)
            : nullptr;
    EXPECT_NE(thread, nullptr);
    ::CloseHandle(thread);
    ::CloseHandle(process);
}

// Ctrl+Break while the translator hangs, having started a helper process:
// both end, the intermediate files go, and ktvbuild says it stopped.
TEST(KtvBuild, CtrlBreakEndsTheToolsRemovesTheIntermediateFilesAndExitsWith2) {
    const driver::TestLayout layout(driver::ToWindowsPath(KTV_KTVBUILD), testing::StandInFolder());
    layout.Write("work\\scenario.txt", "ktvc.helper=1\r\nktvc.hang_ms=60000\r\n");
    const std::vector<std::string> before = layout.List("work");
    layout.Write("work\\lcc.err", "left by an earlier build");
    OwnConsole console;
    ASSERT_TRUE(console.made);
    const std::string arguments =
        "--ktv \"" + layout.KtvDir() + "\" \"" + layout.BasicFile() + "\"";
    const DWORD exit =
        RunKtvBuild(std::wstring(arguments.begin(), arguments.end()), [&](DWORD ktvbuild) {
            ASSERT_TRUE(
                testing::WaitUntil([&] { return layout.CommandLinesOf("ktvc").size() == 2; }));
            SendCtrlBreak(ktvbuild);
        });
    EXPECT_EQ(exit, 2u);
    EXPECT_NE(console.Screen().find(L"ktvbuild: stopped"), std::wstring::npos);
    EXPECT_EQ(layout.List("work"), before);
    EXPECT_TRUE(testing::WaitUntil([] { return testing::ProcessesNamed("ktvc.exe").empty(); },
                                   std::chrono::seconds(1)));
}

}  // namespace
}  // namespace ktv::win32
