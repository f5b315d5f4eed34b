// ktvbuild.exe on a console: what the console shows of its lines.

#include "Win32Test.h"

namespace ktv::win32 {
namespace {

// A console of the test's own for as long as it lives, in the OEM code page
// of a Western European Windows (850), as a console there starts; the
// programs the test starts write to it.
class OwnConsole {
public:
    OwnConsole() {
        for (const DWORD which : kStandard) {
            saved_.push_back(::GetStdHandle(which));
        }
        ::FreeConsole();
        made_ = ::AllocConsole() != FALSE && ::SetConsoleOutputCP(850) != FALSE;
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;
    ~OwnConsole() {
        ::FreeConsole();
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            ::SetStdHandle(kStandard[i], saved_[i]);
        }
    }

    bool Made() const { return made_; }

    // Every character in the screen buffer, row after row.
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
        screen.resize(read);
        return screen;
    }

private:
    static constexpr DWORD kStandard[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    std::vector<HANDLE> saved_;
    bool made_ = false;
};

// Runs ktvbuild on the test's console and gives its exit code.
DWORD RunKtvBuild(const std::wstring& arguments) {
    std::wstring path(KTV_KTVBUILD, KTV_KTVBUILD + sizeof KTV_KTVBUILD - 1);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring commandLine = L"\"Z:" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        return ~0u;
    }
    DWORD exitCode = ~0u;
    ::WaitForSingleObject(started.hProcess, 30000);
    ::GetExitCodeProcess(started.hProcess, &exitCode);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
    return exitCode;
}

TEST(KtvBuild, OnAConsolePathsShowAsTheyAreAndOnesTheToolsCannotTakeAreRefused) {
    testing::TestFolder folder;
    const std::wstring root(folder.Path().begin(), folder.Path().end());
    // é is in the ANSI code page (1252 here), 日本 is not.
    for (const std::wstring name : {L"\\H\u00E9l\u00E8ne", L"\\\u65E5\u672C"}) {
        ASSERT_TRUE(::CreateDirectoryW((root + name).c_str(), nullptr));
        const HANDLE file = ::CreateFileW((root + name + L"\\prog.bas").c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_NEW, 0, nullptr);
        ::CloseHandle(file);
    }
    OwnConsole console;
    ASSERT_TRUE(console.Made());
    const std::wstring written = root + L"\\H\u00E9l\u00E8ne\\prog.bas";
    EXPECT_EQ(RunKtvBuild(L"--ktv c:\\missing \"" + written + L"\""), 2u);
    const std::wstring unwritable = root + L"\\\u65E5\u672C\\prog.bas";
    EXPECT_EQ(RunKtvBuild(L"\"" + unwritable + L"\""), 2u);
    const std::wstring screen = console.Screen();
    EXPECT_NE(screen.find(L"ktvbuild: note: " + written + L" has no $SOURCE line"),
              std::wstring::npos)
        << ::testing::PrintToString(screen);
    EXPECT_NE(screen.find(L"ktvbuild: error: The path " + unwritable +
                          L" holds characters that the KTV and LCC tools cannot take"),
              std::wstring::npos);
}

}  // namespace
}  // namespace ktv::win32
