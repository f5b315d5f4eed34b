#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "CaptureSupport.h"
#include "main/ControlIds.h"
#include "platform/win32/UniqueHandle.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using test_support::EditText;
using test_support::WriterCommand;

// KTVCapture.exe started by a test, found by its window, ended at the end.
class CaptureProgram {
public:
    explicit CaptureProgram(const std::string& arguments) {
        std::string commandLine = "\"" + ProgramPath() + "\"";
        if (!arguments.empty()) {
            commandLine += " " + arguments;
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &started)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            return;
        }
        process_.Reset(started.hProcess);
        ::CloseHandle(started.hThread);
        processId_ = started.dwProcessId;
        ::WaitForInputIdle(process_.Get(), 10000);
        for (int tries = 0; tries < 500 && window_ == nullptr; ++tries) {
            ::EnumWindows(&CaptureProgram::Match, reinterpret_cast<LPARAM>(this));
            if (window_ == nullptr) {
                ::Sleep(20);
            }
        }
    }
    ~CaptureProgram() {
        if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.Get(), 1);
        }
    }

    HWND Window() const { return window_; }
    HWND Box() const { return ::GetDlgItem(window_, ids::kCaptureText); }
    std::string Text() const { return EditText(Box()); }
    HANDLE Process() const { return process_.Get(); }

    bool TextBecomes(const std::function<bool(const std::string&)>& wanted,
                     std::chrono::milliseconds bound) const {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!wanted(Text())) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            ::Sleep(10);
        }
        return true;
    }

private:
    static std::string ProgramPath() {
        std::string path = KTV_CAPTURE_EXE;
        if (!path.empty() && path[0] == '/') {
            path = "Z:" + path;  // a Unix path, as the cross build names it under Wine
        }
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        return path;
    }

    static BOOL CALLBACK Match(HWND window, LPARAM self) {
        auto* program = reinterpret_cast<CaptureProgram*>(self);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        char caption[64] = {};
        ::GetWindowTextA(window, caption, sizeof caption);
        if (owner == program->processId_ && ::IsWindowVisible(window) &&
            std::string(caption) == "Console Application Output.") {
            program->window_ = window;
            return FALSE;
        }
        return TRUE;
    }

    win32::UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

TEST(CaptureProgram, WithoutArgumentsShowsAnEmptyCentredWindow) {
    CaptureProgram program("");
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_NE(program.Box(), nullptr);
    EXPECT_EQ(program.Text(), "");
    RECT frame{};
    ::GetWindowRect(program.Window(), &frame);
    EXPECT_EQ(frame.left, (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
    ::PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(program.Process(), 5000), WAIT_OBJECT_0);
}

TEST(CaptureProgram, RunsItsArgumentsAndShowsOutputAsItArrives) {
    CaptureProgram program(WriterCommand("out:first\\n sleep:2500 err:second\\n"));
    ASSERT_NE(program.Window(), nullptr);
    // The first line shows while the program still runs, and the window answers.
    ASSERT_TRUE(
        program.TextBecomes([](const std::string& text) { return text == "first\r\n"; }, 2000ms));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(
        ::SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &answer));
    EXPECT_TRUE(program.TextBecomes(
        [](const std::string& text) { return text == "first\r\nsecond\r\n"; }, 10s));
    ::PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(program.Process(), 5000), WAIT_OBJECT_0);
}

TEST(CaptureProgram, ClosingDuringACaptureEndsBothPrograms) {
    CaptureProgram program(WriterCommand("pid sleep:30000"));
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_TRUE(program.TextBecomes(
        [](const std::string& text) { return text.find("pid=") != std::string::npos; }, 5s));
    const std::string text = program.Text();
    win32::UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, std::stoul(text.substr(4))));
    ::PostMessageA(program.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(program.Process(), 3000), WAIT_OBJECT_0);
    ASSERT_TRUE(child);
    EXPECT_EQ(::WaitForSingleObject(child.Get(), 3000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace ktv
