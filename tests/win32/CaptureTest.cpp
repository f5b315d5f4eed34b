// A program's output through the pipe and into the capture window, under Wine,
// with the capture_writer stand-in writing what its arguments say.

#include <oleacc.h>

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
        std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(box)) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextA(box, text.data(), static_cast<int>(text.size()))));
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

    // The box copies ANSI text; Windows makes the Unicode form from it.
    std::wstring Copied() {
        ::SendMessageA(box, WM_COPY, 0, 0);
        std::wstring copied;
        if (::OpenClipboard(nullptr)) {
            if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
                copied = static_cast<const wchar_t*>(::GlobalLock(data));
                ::GlobalUnlock(data);
            }
            ::CloseClipboard();
        }
        return copied;
    }

    Win32ProcessCapture capture;
    std::unique_ptr<CaptureWindow> window =
        std::make_unique<CaptureWindow>(::GetModuleHandleA(nullptr), capture);
    const HWND box = ::GetDlgItem(window->Hwnd(), CaptureWindow::kOutputViewId);
};

// Two lines, 200 numbered ones, then after a pause "more" and 100 lines more.
TEST_F(CaptureWindowTest, OutputArrivesWholeFollowedUntilScrolledAwayAndCopies) {
    constexpr std::size_t kLine = 29;  // "0000001 the quick brown fox" and CR LF
    const auto firstShown = [&] { return ::SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0); };
    window->ShowAndRun(
        Writer("out:one\\n err:two\\r\\r\\n lines:200 sleep:800 out:more\\n sleep:800 "
               "lines:100"));
    ASSERT_TRUE(PumpUntil([&] { return Text().size() == 10 + 200 * kLine; }));
    EXPECT_TRUE(Text().starts_with("one\r\ntwo\r\n0000001 ")) << Text().substr(0, 40);
    EXPECT_GT(firstShown(), 150);  // the end is in sight
    ::SendMessageA(box, WM_VSCROLL, SB_TOP, 0);
    ASSERT_TRUE(PumpUntil([&] { return Text().ends_with("more\r\n"); }));
    EXPECT_EQ(firstShown(), 0);  // the user's place is kept

    ::SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));  // takes "one"
    EXPECT_EQ(Copied(), L"one");

    ::SendMessageA(box, WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(PumpUntil([&] { return Text().size() == 16 + 300 * kLine; }));
    EXPECT_GT(firstShown(), 250);  // back at the end, the box follows again
    DWORD start = 1;
    DWORD end = 0;
    ::SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);  // new output keeps the selection
    EXPECT_EQ(end, 3u);
    window->ShowAndRun("no_such_program_here.exe");  // the box keeps its text
    EXPECT_TRUE(Text().starts_with("one\r\n"));
}

TEST_F(CaptureWindowTest, AnAccessibilityClientReadsTheTextItsNameAndTheCaretsLine) {
    ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("one\r\ntwo \xE9t\xE9"));
    ::SendMessageA(box, EM_SETSEL, 7, 7);
    const testing::Accessible client(box);
    EXPECT_EQ(client.role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(client.state & STATE_SYSTEM_READONLY, STATE_SYSTEM_READONLY);
    EXPECT_EQ(client.name, L"Console Application Output.");
    EXPECT_EQ(client.value, L"one\r\ntwo \u00E9t\u00E9");
    // The caret's line, as a reader asks an edit box for it.
    const auto row = ::SendMessageA(box, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0);
    char line[16] = {sizeof line};
    line[::SendMessageA(box, EM_GETLINE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(line))] = '\0';
    EXPECT_EQ(row, 1);
    EXPECT_STREQ(line, "two \xE9t\xE9");
    EXPECT_EQ(::SendMessageA(box, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 5);
}

TEST_F(CaptureWindowTest, LongLinesWrapUntilTheMenuTurnsWordWrapOffThenScrollSideways) {
    std::string words;
    for (int word = 0; word < 100; ++word) {
        words += "word ";
    }
    ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words.c_str()));
    const auto rows = [&] { return ::SendMessageA(box, EM_GETLINECOUNT, 0, 0); };
    const auto sideways = [&] { return (::GetWindowLongA(box, GWL_STYLE) & WS_HSCROLL) != 0; };
    const auto firstX = [&] {
        return static_cast<short>(LOWORD(::SendMessageA(box, EM_POSFROMCHAR, 0, 0)));
    };
    EXPECT_GT(rows(), 3);
    EXPECT_FALSE(sideways());
    EXPECT_EQ(::SendMessageA(box, EM_LINELENGTH, 0, 0) % 5, 0);  // whole words in a row

    ::PostMessageA(box, WM_CHAR, 'w', 0);  // the menu's Word Wrap, by its key
    ::SendMessageA(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), MAKELPARAM(10, 10));
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(sideways());
    ::SendMessageA(box, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);  // tilted right
    EXPECT_LT(firstX(), 0);
    ::SendMessageA(box, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, WHEEL_DELTA), 0);  // back left
    EXPECT_EQ(firstX(), 0);
}

// Runs in a Japanese Windows too, as win32.CaptureInCodePage932.
TEST_F(CaptureWindowTest, InCodePage932StepsSelectsCopiesAndReadsWholeCharacters) {
    if (::GetACP() != 932) {
        GTEST_SKIP() << "needs the ANSI code page 932";
    }
    // x, ソ (its trail byte is a backslash), 日, a blank, 本
    ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x\x83\x5C\x93\xFA \x96\x7B"));
    std::vector<DWORD> carets;
    for (int step = 0; step < 5; ++step) {
        ::SendMessageA(box, WM_KEYDOWN, VK_RIGHT, 0);
        DWORD end = 0;
        ::SendMessageA(box, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        carets.push_back(end);
    }
    EXPECT_EQ(carets, (std::vector<DWORD>{1, 3, 5, 6, 8}));
    const LRESULT at = ::SendMessageA(box, EM_POSFROMCHAR, 4, 0);  // inside 日: at its start
    EXPECT_EQ(at, ::SendMessageA(box, EM_POSFROMCHAR, 3, 0));
    ::SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    EXPECT_EQ(Copied(), L"x\u30BD\u65E5");
    EXPECT_EQ(testing::Accessible(box).value, L"x\u30BD\u65E5 \u672C");
}

}  // namespace
}  // namespace ktv::win32
