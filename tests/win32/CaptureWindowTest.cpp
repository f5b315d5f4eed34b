#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "CaptureSupport.h"
#include "console/win32/CaptureWindow.h"
#include "main/ControlIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32ProcessCapture.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using test_support::EditText;
using test_support::PumpMessagesUntil;
using test_support::WriterCommand;

class CaptureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<win32::CaptureWindow>(::GetModuleHandleA(nullptr), capture);
    }

    // Runs the steps in the window and waits for the end of their output.
    std::string Capture(const std::string& steps) {
        window->Redir(WriterCommand(steps));
        EXPECT_TRUE(PumpMessagesUntil([&] { return !window->IsCapturing(); }, 60s));
        return EditText(window->Text2());
    }

    std::string TextNow() { return EditText(window->Text2()); }

    win32::Win32ProcessCapture capture;
    std::unique_ptr<win32::CaptureWindow> window;
};

std::string NumberedLinesWithCrLf(int count) {
    std::string text;
    for (int number = 1; number <= count; ++number) {
        char line[64];
        std::snprintf(line, sizeof line, "%07d the quick brown fox\r\n", number);
        text += line;
    }
    return text;
}

DWORD ProcessIdIn(const std::string& text) {
    const std::size_t at = text.find("pid=");
    return at == std::string::npos ? 0 : std::stoul(text.substr(at + 4));
}

TEST_F(CaptureWindowTest, IsCaptionedCentredAndFilledByItsTextBox) {
    char caption[64] = {};
    ::GetWindowTextA(window->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Console Application Output.");
    EXPECT_EQ(::GetDlgItem(window->Handle(), ids::kCaptureText), window->Text2());

    RECT frame{};
    ::GetWindowRect(window->Handle(), &frame);
    EXPECT_EQ(frame.left, (::GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (::GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);

    window->Redir(WriterCommand("out:shown"));  // shows the window
    ::SetWindowPos(window->Handle(), nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT client{};
    RECT box{};
    ::GetClientRect(window->Handle(), &client);
    ::GetWindowRect(window->Text2(), &box);
    ::MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_TRUE(::EqualRect(&box, &client));
    EXPECT_GT(client.right, 0);
    EXPECT_TRUE(::GetWindowLongA(window->Text2(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(CaptureWindowTest, OutputLongerThanTheEditLimitArrivesWholeAndInOrder) {
    // 5000 lines of 28 characters: 140,000 characters, far past the 30,000 an
    // edit box takes by default.
    const std::string shown = Capture("lines:5000");
    EXPECT_EQ(shown.size(), NumberedLinesWithCrLf(5000).size());
    EXPECT_TRUE(shown == NumberedLinesWithCrLf(5000));
}

TEST_F(CaptureWindowTest, ShowsBothStreamsWithEveryLineEndAsCrLf) {
    EXPECT_EQ(Capture("out:a\\n err:b\\r\\n out:c\\r sleep:30 out:\\nd\\0e err:\\rf"),
              "a\r\nb\r\nc\r\nde\r\nf");
}

TEST_F(CaptureWindowTest, EachCaptureStartsWithAnEmptyBox) {
    Capture("out:first");
    EXPECT_EQ(Capture("empty"), "");
}

TEST_F(CaptureWindowTest, ProgramThatCannotStartLeavesTheBoxAsItWas) {
    ::SetWindowTextA(window->Text2(), "earlier output");
    window->Redir("no_such_program_here.exe");
    EXPECT_FALSE(window->IsCapturing());
    window->Redir("");
    EXPECT_FALSE(window->IsCapturing());
    EXPECT_EQ(TextNow(), "earlier output");
}

TEST_F(CaptureWindowTest, NewOutputGoesToTheEndWhereverTheUserPutTheCaret) {
    window->Redir(WriterCommand("out:one\\n sleep:400 out:two\\n"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return TextNow() == "one\r\n"; }, 10s));
    ::SendMessageA(window->Text2(), EM_SETSEL, 0, 2);  // the user selects "on"
    ASSERT_TRUE(PumpMessagesUntil([&] { return !window->IsCapturing(); }, 10s));
    EXPECT_EQ(TextNow(), "one\r\ntwo\r\n");
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(window->Text2(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
}

// Wine without a window manager takes two seconds to take a visible window
// off the screen; the bounds on closing allow for that.
constexpr auto kWineHideTime = 2500ms;

TEST_F(CaptureWindowTest, ANewCaptureEndsTheRunningOnePromptly) {
    window->Redir(WriterCommand("pid sleep:30000"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return ProcessIdIn(TextNow()) != 0; }, 10s));
    win32::UniqueHandle first(::OpenProcess(SYNCHRONIZE, FALSE, ProcessIdIn(TextNow())));
    const auto start = std::chrono::steady_clock::now();
    window->Redir(WriterCommand("out:second"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    ASSERT_TRUE(first);
    EXPECT_EQ(::WaitForSingleObject(first.Get(), 2000), WAIT_OBJECT_0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !window->IsCapturing(); }, 10s));
    EXPECT_EQ(TextNow(), "second");
}

TEST_F(CaptureWindowTest, ClosingDuringACaptureEndsTheProgram) {
    window->Redir(WriterCommand("pid sleep:30000"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return ProcessIdIn(TextNow()) != 0; }, 10s));
    win32::UniqueHandle child(::OpenProcess(SYNCHRONIZE, FALSE, ProcessIdIn(TextNow())));
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window->Handle(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kWineHideTime + 1000ms);
    ASSERT_TRUE(child);
    EXPECT_EQ(::WaitForSingleObject(child.Get(), 2000), WAIT_OBJECT_0);
    window.reset();
}

TEST_F(CaptureWindowTest, ClosingWhileADescendantHoldsTheOutputDoesNotHang) {
    window->Redir(WriterCommand("spawn pid sleep:15000"));
    ASSERT_TRUE(PumpMessagesUntil([&] { return ProcessIdIn(TextNow()) != 0; }, 10s));
    const DWORD grandchild = ProcessIdIn(TextNow());
    const auto start = std::chrono::steady_clock::now();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              kWineHideTime + CaptureSession::kStopWait + 1000ms);
    win32::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, grandchild));
    if (process) {
        ::TerminateProcess(process.Get(), 1);
    }
}

}  // namespace
}  // namespace ktv
