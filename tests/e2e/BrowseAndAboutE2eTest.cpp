// The "..." buttons with the real common dialogs, and the About box, through
// the real program.

#include <windows.h>

#include <string>
#include <vector>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13 / edt1 of the file dialog

std::string TextOf(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// A visible top-level dialog of the program whose caption or one of whose
// static texts reads `text`.
HWND FindDialog(DWORD process, const std::string& text) {
    struct Search {
        DWORD process;
        const std::string& text;
        HWND found = nullptr;
    } search{process, text};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            char name[16] = {};
            ::GetWindowThreadProcessId(window, &owner);
            ::GetClassNameA(window, name, sizeof name);
            if (owner != s->process || !::IsWindowVisible(window) ||
                std::string(name) != "#32770") {
                return TRUE;
            }
            bool matches = TextOf(window) == s->text;
            for (HWND child = ::GetWindow(window, GW_CHILD); child && !matches;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                matches = TextOf(child) == s->text;
            }
            if (matches) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Clicks the button and waits for its dialog; gives it a moment to finish
// setting up, as a user's eye would.
HWND OpenDialog(AppSession& app, int button, const std::string& text) {
    app.Click(button);
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(app.ProcessId(), text)) != nullptr; }, kBoxTimeout);
    if (dialog == nullptr) {
        throw DriverError("no dialog showing \"" + text + "\"");
    }
    ::Sleep(300);
    return dialog;
}

void Press(HWND dialog, int button) {
    ::PostMessageA(dialog, WM_COMMAND, button, 0);
}

bool SameText(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

TEST_F(E2eTest, FilePickersWriteTheChosenFileOrKeepTheTextOnCancel) {
    ::CreateDirectoryA((Layout().LccDir() + "\\lib").c_str(), nullptr);
    Layout().Write("lcc\\lib\\extra.lib", "!<arch>\n");
    Layout().Write("work\\other.bas", "$SOURCE\r\n");
    AppSession& app = Start();
    UseLayout(app);
    app.SetText(ids::kTxtLibs, "a.lib");

    // The Basic file picker starts in the Basic file's folder: a bare name
    // is found there.
    HWND dialog = OpenDialog(app, ids::kCommand3BasBrowse, "Select KTV Basic File");
    ::SetDlgItemTextA(dialog, kFileNameBox, "other.bas");
    Press(dialog, IDOK);
    const std::string other = Layout().WorkDir() + "\\other.bas";
    EXPECT_TRUE(WaitUntil([&] { return SameText(app.Text(ids::kTxtBasFile), other); }, kBoxTimeout))
        << app.Text(ids::kTxtBasFile);

    dialog = OpenDialog(app, ids::kCommand3BasBrowse, "Select KTV Basic File");
    Press(dialog, IDCANCEL);
    WaitUntil([&] { return FindDialog(app.ProcessId(), "Select KTV Basic File") == nullptr; },
              kBoxTimeout);
    EXPECT_TRUE(app.WaitUntilIdle());
    EXPECT_TRUE(SameText(app.Text(ids::kTxtBasFile), other));

    // The library picker starts in the LCC directory's lib folder and adds
    // the chosen path to the list.
    dialog = OpenDialog(app, ids::kCommand5LibBrowse, "Select Libraries");
    ::SetDlgItemTextA(dialog, kFileNameBox, "extra.lib");
    Press(dialog, IDOK);
    const std::string expected = "a.lib;" + Layout().LccDir() + "\\lib\\extra.lib";
    EXPECT_TRUE(WaitUntil([&] { return SameText(app.Text(ids::kTxtLibs), expected); }, kBoxTimeout))
        << app.Text(ids::kTxtLibs);
}

TEST_F(E2eTest, FolderPickerKeepsTheTextOnCancelAndWritesTheChoiceOnOk) {
    AppSession& app = Start();
    app.SetText(ids::kTxtLccPath, "q:\\before");
    HWND dialog = OpenDialog(app, ids::kCommand2LccBrowse, "Select LCC Directory");
    Press(dialog, IDCANCEL);
    WaitUntil([&] { return FindDialog(app.ProcessId(), "Select LCC Directory") == nullptr; },
              kBoxTimeout);
    EXPECT_TRUE(app.WaitUntilIdle());
    EXPECT_EQ(app.Text(ids::kTxtLccPath), "q:\\before");

    // OK on the folder the picker opens with: the field gets its path.
    dialog = OpenDialog(app, ids::kCommand4KtvBrowse, "Select KTV Directory");
    Press(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return app.Text(ids::kTxtKtvPath) != "c:\\ktv"; }, kBoxTimeout));
    const std::string chosen = app.Text(ids::kTxtKtvPath);
    const DWORD attributes = ::GetFileAttributesA(chosen.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << chosen;
}

TEST_F(E2eTest, AboutBoxOpensCentredEachTimeAndCloses) {
    AppSession& app = Start();
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        app.Click(ids::kCommand6About);
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                about = ::FindWindowA(nullptr, "About KTV Debugger");
                return about != nullptr && ::IsWindowVisible(about);
            },
            kBoxTimeout));
        const RECT rect = WindowRectangle(about);
        EXPECT_EQ(rect.left, (::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
        EXPECT_EQ(rect.top, (::GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
        EXPECT_FALSE(app.IsMainWindowEnabled());
        // Moved by the user: the next opening is centred all the same.
        ::SetWindowPos(about, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        HWND close = ::GetDlgItem(about, ids::kAboutClose);
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(TextOf(close), "Close");
        ::PostMessageA(close, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about) && app.IsMainWindowEnabled(); },
                              kBoxTimeout));
    }
}

}  // namespace
}  // namespace ktv::e2e
