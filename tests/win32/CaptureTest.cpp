// A program's output through the pipe and into the capture window, under Wine,
// with the capture_writer stand-in writing what its arguments say.

#include <future>
#include <memory>

#include "Win32Test.h"
#include "platform/win32/Win32ProcessCapture.h"
#include "text/Errors.h"
#include "views/CaptureWindow.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;

using namespace std::string_literals;

std::string Writer(const std::string& steps) {
    return testing::StandIn("capture_writer.exe") + " " + steps;
}

std::string ReadAll(CapturedProcess& process, std::size_t* largestRead = nullptr) {
    std::string bytes;
    for (std::string chunk; process.ReadChunk(chunk);) {
        bytes += chunk;
        if (largestRead != nullptr) {
            *largestRead = std::max(*largestRead, chunk.size());
        }
    }
    return bytes;
}

DWORD ProcessIdIn(const std::string& text) {
    const std::size_t at = text.find("pid=");
    return at == std::string::npos ? 0 : std::stoul(text.substr(at + 4));
}

TEST(ProcessCapture, BothStreamsArriveInOrderUntilTheLastHolderOfThePipeEnds) {
    Win32ProcessCapture capture;
    auto mixed = capture.StartCaptured(Writer("out:one\\n err:two\\n out:ab\\0cd empty out:ef"));
    EXPECT_EQ(ReadAll(*mixed), "one\ntwo\nab\0cdef"s);
    std::size_t largest = 0;
    auto bulk = capture.StartCaptured(Writer("lines:6000"));
    EXPECT_EQ(ReadAll(*bulk, &largest).size(), 6000u * 28u);
    EXPECT_LE(largest, kCaptureChunkBytes);
    const auto start = std::chrono::steady_clock::now();
    auto spawning =
        capture.StartCaptured(Writer("out:parent\\n spawn sleep:1500 out:grandchild\\n"));
    EXPECT_EQ(ReadAll(*spawning), "parent\ngrandchild\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1400ms);
    auto checked = capture.StartCaptured(Writer("readable-pipes out:checked"));
    EXPECT_EQ(ReadAll(*checked), "checked");  // the child holds no read end of its output
    for (const std::string commandLine : {"no_such_program_here.exe", ""}) {
        DWORD before = 0;
        DWORD after = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &before);
        EXPECT_THROW(capture.StartCaptured(commandLine), StartFailed) << commandLine;
        ::GetProcessHandleCount(::GetCurrentProcess(), &after);
        EXPECT_EQ(after, before) << commandLine;
    }
}

TEST(ProcessCapture, StopEndsTheProgramAndTheWaitingRead) {
    Win32ProcessCapture capture;
    auto process = capture.StartCaptured(Writer("pid sleep:30000"));
    std::string chunk;
    ASSERT_TRUE(process->ReadChunk(chunk));
    auto rest = std::async(std::launch::async, [&] { return ReadAll(*process); });
    ASSERT_EQ(rest.wait_for(300ms), std::future_status::timeout);  // the read waits
    process->Stop();
    ASSERT_EQ(rest.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(rest.get(), "");
    const HANDLE child = ::OpenProcess(SYNCHRONIZE, FALSE, ProcessIdIn(chunk));
    EXPECT_TRUE(child == nullptr || ::WaitForSingleObject(child, 2000) == WAIT_OBJECT_0);
    if (child != nullptr) {
        ::CloseHandle(child);
    }
}

class CaptureWindowTest : public ::testing::Test {
protected:
    std::string Text() {
        const HWND edit = ::GetDlgItem(window->Hwnd(), CaptureWindow::kText2Id);
        std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    bool PumpUntil(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            for (MSG message; ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
                ::DispatchMessageA(&message);
            }
        }
        return true;
    }

    Win32ProcessCapture capture;
    std::unique_ptr<CaptureWindow> window =
        std::make_unique<CaptureWindow>(::GetModuleHandleA(nullptr), capture);
};

TEST_F(CaptureWindowTest, OutputArrivesWholeWithCrLfAndGoesToTheEndWhereverTheCaretIs) {
    window->Redir(Writer("out:one\\n sleep:400 err:two\\r\\r\\n lines:3000"));
    ASSERT_TRUE(PumpUntil([&] { return Text().starts_with("one\r\n"); }));
    const HWND edit = ::GetDlgItem(window->Hwnd(), CaptureWindow::kText2Id);
    ::SendMessageA(edit, EM_SETSEL, 0, 2);  // the user selects "on"
    ASSERT_TRUE(PumpUntil([&] { return Text().size() == 10 + 3000u * 29u; }));
    EXPECT_TRUE(Text().starts_with("one\r\ntwo\r\n0000001 ")) << Text().substr(0, 40);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    window->Redir("no_such_program_here.exe");  // the box keeps its text
    EXPECT_TRUE(Text().starts_with("one\r\n"));
}

TEST_F(CaptureWindowTest, TheBoxFollowsTheEndUntilScrolledAwayAndSelectsAndCopies) {
    constexpr std::size_t kLine = 29;  // "0000001 the quick brown fox" and CR LF
    const HWND box = ::GetDlgItem(window->Hwnd(), CaptureWindow::kText2Id);
    const auto firstShown = [&] { return ::SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0); };
    window->Redir(Writer("lines:200 sleep:600 out:more\\n sleep:600 lines:100"));
    ASSERT_TRUE(PumpUntil([&] { return Text().size() == 200 * kLine; }));
    EXPECT_GT(firstShown(), 150);  // the end is in sight
    ::SendMessageA(box, WM_VSCROLL, SB_TOP, 0);
    ASSERT_TRUE(PumpUntil([&] { return Text().ends_with("more\r\n"); }));
    EXPECT_EQ(firstShown(), 0);  // the user's place is kept
    ::SendMessageA(box, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(PumpUntil([&] { return Text().size() == 300 * kLine + 6; }));
    EXPECT_GT(firstShown(), 250);  // back at the end, the box follows again

    // A drag from the top left corner down two lines, then a copy.
    ::SendMessageA(box, WM_VSCROLL, SB_TOP, 0);
    TEXTMETRICA metrics{};
    const HDC dc = ::GetDC(box);
    ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0)));
    ::GetTextMetricsA(dc, &metrics);
    ::ReleaseDC(box, dc);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    ::SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ::SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2 * lineHeight + 1));
    ::SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(1, 2 * lineHeight + 1));
    DWORD start = 1;
    DWORD end = 0;
    ::SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2 * kLine);
    ::SendMessageA(box, WM_COPY, 0, 0);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const HANDLE copied = ::GetClipboardData(CF_TEXT);
    const char* copiedText =
        copied != nullptr ? static_cast<const char*>(::GlobalLock(copied)) : "";
    EXPECT_EQ(std::string(copiedText), Text().substr(0, 2 * kLine));
    if (copied != nullptr) {
        ::GlobalUnlock(copied);
    }
    ::CloseClipboard();
}

TEST_F(CaptureWindowTest, ClosingDuringACaptureEndsTheProgram) {
    window->Redir(Writer("pid sleep:30000"));
    ASSERT_TRUE(PumpUntil([&] { return ProcessIdIn(Text()) != 0; }));
    const HANDLE child = ::OpenProcess(SYNCHRONIZE, FALSE, ProcessIdIn(Text()));
    ::SendMessageA(window->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window->Hwnd(), nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::WaitForSingleObject(child, 2000), WAIT_OBJECT_0);
    ::CloseHandle(child);
}

}  // namespace
}  // namespace ktv::win32
