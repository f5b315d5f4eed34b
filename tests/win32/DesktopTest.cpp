// Other programs' windows brought forward and typed into, and the file
// dialog, under Wine.

#include <fstream>
#include <functional>
#include <thread>

#include "Win32Test.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Processes.h"
#include "text/Errors.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;

using testing::Names;

// A started Wedit stand-in, a window that logs every key it gets, ended with
// the test.
struct KeyLogWindow {
    KeyLogWindow(Processes& processes, const testing::TestFolder& folder, const std::string& name,
                 WindowStyle style)
        : log(folder.In(name) + "\\wedit.log") {
        ::CreateDirectoryA(folder.In(name).c_str(), nullptr);
        char saved[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, saved);
        ::SetCurrentDirectoryA(folder.In(name).c_str());  // where its log goes
        task = processes.Start(testing::StandIn("wedit.exe"), style);
        ::SetCurrentDirectoryA(saved);
        EXPECT_TRUE(processes.WaitUntilReady(task, 20s));
    }
    ~KeyLogWindow() { testing::EndProcess(task); }
    // The keys logged, once there are `count` or the bound has passed.
    Names Keys(std::size_t count, std::chrono::milliseconds bound) const {
        Names keys;
        for (const auto deadline = std::chrono::steady_clock::now() + bound;
             keys.size() < count && std::chrono::steady_clock::now() < deadline;
             std::this_thread::sleep_for(25ms)) {
            keys.clear();
            std::ifstream in(log, std::ios::binary);
            for (std::string line; std::getline(in, line);) {
                if (line.starts_with("key: ")) {
                    keys.push_back(line.substr(5, line.size() - 6));
                }
            }
        }
        return keys;
    }

    std::string log;
    TaskId task = 0;
};

TEST(Win32Desktop, BringsWindowsForwardByTaskAndTitleAndTypesIntoTheFrontOne) {
    const testing::TestFolder folder;
    Win32Processes processes;
    Win32Desktop desktop;
    const KeyLogWindow first(processes, folder, "first", WindowStyle::NormalFocus);
    const KeyLogWindow second(processes, folder, "second", WindowStyle::MaximizedFocus);

    const TaskWindow byTask = desktop.ActivateByTask(first.task);
    EXPECT_EQ(byTask.task, first.task);
    EXPECT_EQ(desktop.Foreground(), byTask);
    const TaskWindow byTitle = desktop.ActivateByTitle("Wedit (stand-in)");
    EXPECT_NE(byTitle.window, 0u);
    EXPECT_EQ(desktop.Foreground(), byTitle);
    const TaskWindow maximised = desktop.ActivateByTask(second.task);
    EXPECT_TRUE(::IsZoomed(reinterpret_cast<HWND>(maximised.window)));  // kept as it was

    desktop.ActivateByTask(first.task);
    for (const char* keys : {"^g", " 12", "{ENTER}", "{HOME}", "+{END}", "{F9}"}) {
        desktop.SendKeys(keys);
    }
    EXPECT_EQ(first.Keys(8, 10s),
              (Names{"Ctrl+G", "Space", "1", "2", "Enter", "Home", "Shift+End", "F9"}));
    EXPECT_EQ(second.Keys(1, 200ms), Names{});

    EXPECT_THROW(desktop.ActivateByTitle("No KTV window has this title"), WindowNotFound);
    EXPECT_THROW(desktop.ActivateByTask(::GetCurrentProcessId()), WindowNotFound);
    EXPECT_THROW(desktop.ActivateWindow(0), WindowNotFound);
    EXPECT_THROW(desktop.SendKeys("{NOSUCHKEY}"), InvalidArgument);
}

// Answers the next dialog this thread shows, from another thread, once it
// has had a moment to set itself up.
class DialogUser {
public:
    explicit DialogUser(std::function<void(HWND)> answer)
        : thread_([owner = ::GetCurrentThreadId(), answer = std::move(answer)] {
              for (int tries = 0; tries < 300; ++tries) {
                  std::this_thread::sleep_for(50ms);
                  HWND dialog = nullptr;
                  ::EnumThreadWindows(
                      owner,
                      [](HWND window, LPARAM found) -> BOOL {
                          char name[16] = {};
                          ::GetClassNameA(window, name, sizeof name);
                          const bool box =
                              std::string(name) == "#32770" && ::IsWindowVisible(window);
                          *reinterpret_cast<HWND*>(found) = box ? window : nullptr;
                          return !box;
                      },
                      reinterpret_cast<LPARAM>(&dialog));
                  if (dialog != nullptr) {
                      std::this_thread::sleep_for(300ms);
                      answer(dialog);
                      return;
                  }
              }
          }) {}
    ~DialogUser() { thread_.join(); }

private:
    std::thread thread_;
};

// A name that does not exist (yet) comes back as typed: Debug is the one to
// report a Basic file that is not there.
TEST(Win32Desktop, TheFileDialogHandsBackATypedNameOrNothing) {
    Win32Desktop desktop;
    const testing::TestFolder folder;
    FileOpenRequest request{
        0, "*.bas", "Select KTV Basic File", folder.Path(), {{"KTV Basic File (*.bas)", "*.bas"}}};
    std::optional<std::string> answer;
    {
        const DialogUser user([](HWND dialog) {
            ::SetDlgItemTextA(dialog, 0x47C, "new.bas");  // the file name box
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        answer = desktop.OpenFileDialog(request);
    }
    EXPECT_EQ(_stricmp(answer.value_or("").c_str(), folder.In("new.bas").c_str()), 0);
    const DialogUser user([](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(desktop.OpenFileDialog(request), std::nullopt);
}

}  // namespace
}  // namespace ktv::win32
