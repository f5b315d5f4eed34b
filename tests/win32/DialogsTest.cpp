#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "TestSupport.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/WinApi.h"

#include <shlobj.h>

namespace ktv::win32 {
namespace {

using namespace std::chrono_literals;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// A dialog that did not close when answered (or a box it put up about the
// answer) is cancelled, so that the test fails instead of hanging.
void CancelWhatStaysOpen(DWORD owner) {
    for (int tries = 0; tries < 100; ++tries) {
        std::this_thread::sleep_for(50ms);
        HWND dialog = nullptr;
        ::EnumThreadWindows(owner, FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr) {
            return;
        }
        if (tries >= 40) {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
}

// Plays the user of the next dialog the calling thread shows: waits for it on
// another thread and hands it to `act`, which answers it.
class DialogUser {
public:
    explicit DialogUser(std::function<void(HWND)> act)
        : thread_([owner = ::GetCurrentThreadId(), act = std::move(act)] {
              for (int tries = 0; tries < 200; ++tries) {
                  HWND dialog = nullptr;
                  ::EnumThreadWindows(owner, FindDialog, reinterpret_cast<LPARAM>(&dialog));
                  if (dialog != nullptr) {
                      std::this_thread::sleep_for(300ms);  // let it finish setting up
                      act(dialog);
                      CancelWhatStaysOpen(owner);
                      return;
                  }
                  std::this_thread::sleep_for(50ms);
              }
          }) {}
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;
    ~DialogUser() { thread_.join(); }

private:
    std::thread thread_;
};

void Press(HWND dialog, int button) {
    ::PostMessageA(dialog, WM_COMMAND, button, 0);
}

class Win32DialogsTest : public ::testing::Test {
protected:
    Win32Desktop desktop;
    Win32FileSystem files;
    testing::TestFolder folder;
};

TEST_F(Win32DialogsTest, TheFileDialogGivesTheTypedFileOrNothingOnCancel) {
    // A name that does not exist (yet) comes back as typed: Debug is the one
    // to report a Basic file that is not there.
    const std::string chosen = folder.In("new.bas");
    FileOpenRequest request;
    request.initialName = "*.bas";
    request.title = "Pick a KTV Basic File";
    request.initialFolder = folder.Path();
    request.filters = {{"KTV Basic File (*.bas)", "*.bas"}, {"All files", "*.*"}};

    std::optional<std::string> answer;
    {
        const DialogUser user([](HWND dialog) {
            char title[64] = {};
            ::GetWindowTextA(dialog, title, sizeof title);
            if (std::string(title) != "Pick a KTV Basic File") {
                Press(dialog, IDCANCEL);  // not the dialog asked for: fail, do not hang
                return;
            }
            // A bare name: the dialog takes it in the initial folder. 0x47C
            // is the file name box (edt1, or the combo box cmb13 of the
            // Explorer-style dialog).
            ::SetDlgItemTextA(dialog, 0x47C, "new.bas");
            Press(dialog, IDOK);
        });
        answer = desktop.OpenFileDialog(request);
    }
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(_stricmp(answer->c_str(), chosen.c_str()), 0) << *answer;

    {
        const DialogUser user([](HWND dialog) { Press(dialog, IDCANCEL); });
        EXPECT_EQ(desktop.OpenFileDialog(request), std::nullopt);
    }
}

TEST_F(Win32DialogsTest, TheFolderPickerGivesTheChosenFolderOrNothingOnCancel) {
    std::optional<std::string> answer;
    std::string wanted;
    {
        // A folder the shell's tree shows everywhere; under Wine it cannot
        // expand down to the temporary folder.
        wanted = Win32SystemInfo().SystemDirectory();
        const DialogUser user([&wanted](HWND dialog) {
            // What a click on the folder does: select it, then OK.
            ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                           reinterpret_cast<LPARAM>(wanted.c_str()));
            Press(dialog, IDOK);
        });
        answer = desktop.BrowseForFolder(0, "Where is LCC?");
    }
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(_stricmp(answer->c_str(), wanted.c_str()), 0) << *answer;

    {
        const DialogUser user([](HWND dialog) { Press(dialog, IDCANCEL); });
        EXPECT_EQ(desktop.BrowseForFolder(0, "Where is LCC?"), std::nullopt);
    }
}

}  // namespace
}  // namespace ktv::win32
