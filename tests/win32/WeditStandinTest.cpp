#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/UniqueHandle.h"

namespace ktv::win32 {
namespace {

// The stand-in's path as CMake knows it, turned into a Windows path on the
// drive through which Wine shows the host's file system.
std::string StandinPath() {
    std::string path = "Z:" KTV_WEDIT_STANDIN;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

struct FindWindowOf {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK MatchProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FindWindowOf*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(WeditStandin, LogsItsCommandLineShowCommandAndKeys) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("ktv-wedit-" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    std::string commandLine = "\"" + StandinPath() + "\" c:\\my work\\prog.c";

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.string().c_str(), &startup, &info));
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    ::WaitForInputIdle(process.Get(), 10000);
    FindWindowOf search{info.dwProcessId};
    for (int i = 0; i < 100 && search.found == nullptr; ++i) {
        ::EnumWindows(MatchProcess, reinterpret_cast<LPARAM>(&search));
        ::Sleep(20);
    }
    ASSERT_NE(search.found, nullptr);
    for (WPARAM key : {WPARAM{VK_F9}, WPARAM{VK_RETURN}, WPARAM{VK_F5}}) {
        ::PostMessageA(search.found, WM_KEYDOWN, key, 0);
    }
    ::PostMessageA(search.found, WM_CHAR, 'x', 0);
    ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 10000), WAIT_OBJECT_0);

    std::ifstream log(folder / "wedit.log", std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "command line: " + commandLine +
                              "\r\nshow: 3\r\nkey: F9\r\nkey: Enter\r\nkey: F5\r\nkey: x\r\n");
    log.close();
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ktv::win32
