#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Processes.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// A started key-log window (see helpers/KeyLogWindow.cpp), ended with the test.
class KeyLogWindow {
public:
    KeyLogWindow(Processes& processes, const testing::TestFolder& folder, const std::string& name,
                 WindowStyle style)
        : title("KTV key log " + name + " " + std::to_string(::GetCurrentProcessId())),
          log(folder.In(name + ".log")),
          task(processes.Start(testing::HelperCommand("test_keylog_window.exe") + " \"" + title +
                                   "\" \"" + log + "\"",
                               style)),
          guard_(task) {
        processes.WaitUntilReady(task, 20s);
        window = ::FindWindowA(nullptr, title.c_str());
    }

    const std::string title;
    const std::string log;
    const TaskId task;
    HWND window = nullptr;

private:
    testing::ProgramGuard guard_;
};

class Win32DesktopTest : public ::testing::Test {
protected:
    Win32Processes processes;
    Win32Desktop desktop;
    testing::TestFolder folder;
};

TEST_F(Win32DesktopTest, ActivatesWindowsByTitleAndByTaskAndTypesKeysIntoTheFrontOne) {
    const KeyLogWindow first(processes, folder, "first", WindowStyle::NormalFocus);
    const KeyLogWindow second(processes, folder, "second", WindowStyle::MaximizedFocus);
    ASSERT_NE(first.window, nullptr);
    ASSERT_NE(second.window, nullptr);
    ASSERT_TRUE(::IsZoomed(second.window));

    const TaskWindow byTitle = desktop.ActivateByTitle(first.title);
    EXPECT_EQ(byTitle, (TaskWindow{reinterpret_cast<WindowRef>(first.window), first.task}));
    EXPECT_EQ(desktop.Foreground(), byTitle);
    const TaskWindow byTask = desktop.ActivateByTask(second.task);
    EXPECT_EQ(byTask, (TaskWindow{reinterpret_cast<WindowRef>(second.window), second.task}));
    EXPECT_EQ(desktop.Foreground(), byTask);
    EXPECT_TRUE(::IsZoomed(second.window)) << "activation must keep the window maximised";

    desktop.ActivateByTitle(first.title);
    for (const char* keys : {"^g", " 12", "{ENTER}", "{HOME}", "+{END}", "A"}) {
        desktop.SendKeys(keys);
    }

    const Lines expected{"Ctrl+G", "Space", "1", "2", "Enter", "Home", "Shift+End", "Shift+A"};
    EXPECT_EQ(testing::WaitForLines(first.log, expected.size(), 10s), expected);
    EXPECT_EQ(testing::WaitForLines(second.log, 1, 200ms), Lines{});
}

TEST_F(Win32DesktopTest, ActivatingAWindowThatIsNotThereThrowsWindowNotFound) {
    EXPECT_THROW(desktop.ActivateByTitle("No KTV window has this title"), WindowNotFound);
    EXPECT_THROW(desktop.ActivateByTitle(""), WindowNotFound);
    EXPECT_THROW(desktop.ActivateWindow(0), WindowNotFound);
    const HWND gone = ::CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    ::DestroyWindow(gone);
    EXPECT_THROW(desktop.ActivateWindow(reinterpret_cast<WindowRef>(gone)), WindowNotFound);
    // The test program itself runs in a console and has no window of its own.
    EXPECT_THROW(desktop.ActivateByTask(::GetCurrentProcessId()), WindowNotFound);
    EXPECT_THROW(desktop.SendKeys("{NOSUCHKEY}"), InvalidArgument);
}

// Counts the messages posted to it.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++*reinterpret_cast<int*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Win32DesktopTest, DoEventsRunsThePendingMessagesAndKeepsAQuitRequest) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KtvCountingWindow";
    ::RegisterClassA(&windowClass);
    const HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                          HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    int handled = 0;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

    for (int i = 0; i < 3; ++i) {
        ::PostMessageA(window, WM_APP, 0, 0);
    }
    ::PostQuitMessage(7);
    desktop.DoEvents();

    EXPECT_EQ(handled, 3);
    MSG message{};
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    ::DestroyWindow(window);
}

TEST_F(Win32DesktopTest, BusyCursorIsTheHourglassUntilTurnedOff) {
    desktop.SetBusyCursor(true);
    EXPECT_TRUE(desktop.IsBusy());
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
    desktop.SetBusyCursor(false);
    EXPECT_FALSE(desktop.IsBusy());
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(Win32DesktopTest, AMessageBoxWithoutTitleShowsTheProgramTitle) {
    std::string shownText;
    std::thread closer([&shownText] {
        for (int tries = 0; tries < 200; ++tries) {
            if (const HWND box = ::FindWindowA("#32770", "KTVDebugger")) {
                char text[256] = {};
                ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the prompt's static
                shownText = text;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            std::this_thread::sleep_for(50ms);
        }
    });
    const int pressed = desktop.MessageBox(0, "Error on line 12", BoxStyle::Information, "");
    closer.join();

    EXPECT_EQ(pressed, IDOK);
    EXPECT_EQ(shownText, "Error on line 12");
}

}  // namespace
}  // namespace ktv::win32
