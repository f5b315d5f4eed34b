// The desktop under Wine: windows that are not there, and the file dialog.

#include <functional>
#include <thread>

#include "Win32Test.h"
#include "platform/win32/Win32Desktop.h"
#include "text/Errors.h"

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;

// Real keys reaching real editors are the end-to-end tests' part; here, what
// is not there fails by name and types nothing.
TEST(Win32Desktop, WhatIsNotThereIsNotActivatedOrTyped) {
    Win32Desktop desktop;
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
