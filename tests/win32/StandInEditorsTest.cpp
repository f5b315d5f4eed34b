// The stand-in editors under Wine: each shows the file named on its command
// line, takes Ctrl+G, a line number, Enter, Home and Shift+End from another
// process, and logs them with its show command and the selected line.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "EditorProfile.h"
#include "platform/win32/UniqueHandle.h"

namespace ktv {
namespace {

std::string ExecutableFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

// The build tree's tests\win32 lies two levels below its root.
std::string StandInPath(const std::string& program) {
    return ExecutableFolder() + "\\..\\..\\standins\\editors\\" + program;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> LinesOf(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line.substr(prefix.size()));
        start = end + 2;
    }
    return lines;
}

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "ktv-editors-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(::GetTickCount64());
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const char* name : {"\\prog.bas", "\\editors.log"}) {
            ::DeleteFileA((path_ + name).c_str());
        }
        ::RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

struct FoundWindow {
    DWORD process;
    HWND window;
};

HWND MainWindowOf(DWORD process) {
    FoundWindow found{process, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<FoundWindow*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == wanted->process && ::IsWindowVisible(window) &&
                ::GetWindow(window, GW_OWNER) == nullptr) {
                wanted->window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

void Press(std::vector<INPUT>& inputs, WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0) | (key == VK_HOME || key == VK_END ? KEYEVENTF_EXTENDEDKEY : 0);
    inputs.push_back(input);
}

void Type(std::initializer_list<std::initializer_list<WORD>> chords) {
    for (const auto& chord : chords) {
        std::vector<INPUT> inputs;
        for (WORD key : chord)
            Press(inputs, key, false);
        for (auto it = std::rbegin(chord); it != std::rend(chord); ++it)
            Press(inputs, *it, true);
        ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

struct Case {
    const char* program;
    WORD show;
    const char* state;
    std::string title;  // for the file c:\...\prog.bas: filled in per folder
};

TEST(StandInEditors, ShowTheFileGoToTheLineAndLogWhatTheyReceived) {
    const Case cases[] = {
        {"notepad.exe", SW_SHOWMAXIMIZED, "maximised", "prog.bas - Notepad"},
        {"jfe.exe", SW_SHOWMINIMIZED, "minimised", "Jens' File Editor - [{}]"},
        {"ConTEXT.exe", SW_SHOWMINIMIZED, "minimised", "ConTEXT - [{}]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        TempFolder folder;
        const std::string basicFile = folder.Path() + "\\prog.bas";
        std::ofstream(basicFile, std::ios::binary)
            << "line one\r\nline two\r\n\r\n   PRINT \"four\"  \r\nend\r\n";

        std::string commandLine = std::string(c.program) + " " + basicFile;
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = c.show;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(::CreateProcessA(StandInPath(c.program).c_str(), commandLine.data(), nullptr,
                                     nullptr, FALSE, 0, nullptr, folder.Path().c_str(), &startup,
                                     &started));
        win32::UniqueHandle process(started.hProcess);
        win32::UniqueHandle thread(started.hThread);
        ASSERT_EQ(::WaitForInputIdle(process.Get(), 10000), 0u);
        const HWND window = MainWindowOf(started.dwProcessId);
        ASSERT_NE(window, nullptr);

        char title[512] = {};
        ::GetWindowTextA(window, title, sizeof(title));
        std::string expectedTitle = c.title;
        if (const std::size_t braces = expectedTitle.find("{}"); braces != std::string::npos) {
            expectedTitle.replace(braces, 2, basicFile);
        }
        EXPECT_EQ(title, expectedTitle);

        ::SetForegroundWindow(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Type({{VK_CONTROL, 'G'}, {VK_SPACE}, {'4'}, {VK_RETURN}, {VK_HOME}, {VK_SHIFT, VK_END}});

        const std::string log = folder.Path() + "\\editors.log";
        const std::string name = std::string(c.program) + " ";
        for (int wait = 0; wait < 100 && LinesOf(ReadAll(log), name + "selected: ").empty();
             ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const std::string text = ReadAll(log);
        EXPECT_EQ(LinesOf(text, name + "command-line: "), std::vector<std::string>{commandLine});
        EXPECT_EQ(LinesOf(text, name + "show: "), std::vector<std::string>{std::to_string(c.show)});
        EXPECT_EQ(LinesOf(text, name + "window: ").at(0), c.state);
        EXPECT_EQ(LinesOf(text, name + "key: "),
                  (std::vector<std::string>{"Ctrl+G", "Space", "4", "Enter", "Home", "Shift+End"}));
        EXPECT_EQ(LinesOf(text, name + "go-to: "), std::vector<std::string>{"4"});
        EXPECT_EQ(LinesOf(text, name + "selected: "),
                  std::vector<std::string>{"   PRINT \"four\"  "});

        ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.Get(), 1);
        }
    }
}

TEST(StandInEditors, TakeTheFileFromTheCommandLineAndShowItsLines) {
    const std::pair<std::string, std::string> arguments[] = {
        {"notepad.exe c:\\work\\prog.bas", "c:\\work\\prog.bas"},
        {"notepad.exe  \"c:\\my work\\prog.bas\" ", "c:\\my work\\prog.bas"},
        {"\"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" c:\\my work\\a.bas", "c:\\my work\\a.bas"},
        {"jfe.exe", ""},
    };
    for (const auto& [commandLine, file] : arguments) {
        EXPECT_EQ(standins::FileArgument(commandLine), file) << commandLine;
    }
    EXPECT_EQ(standins::ToEditText("a\r\nb\rc\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(standins::JfeTitle("c:\\w\\p.bas", true), "Jens' File Editor - [c:\\w\\p.bas *]");
    EXPECT_EQ(standins::NotepadTitle("c:\\w\\p.bas", false), "p.bas - Notepad");
    EXPECT_EQ(standins::ConTextTitle("c:\\w\\p.bas", false), "ConTEXT - [c:\\w\\p.bas]");
}

}  // namespace
}  // namespace ktv
