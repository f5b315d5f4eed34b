// The settings file through the real program: what "Exit" writes, what the
// next start shows, and the box for an empty file.

#include <string>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

TEST_F(E2eTest, SettingsSurviveARestart) {
    {
        AppSession& app = Start();
        app.SetText(ids::kTxtLccPath, "  d:\\tools,x\\lcc  ");
        app.SetText(ids::kTxtKtvPath, "d:\\ktv");
        app.SetText(ids::kTxtBasFile, "c:\\my work\\prog.bas");
        app.SetText(ids::kTxtLibs, "a.lib;b.lib");
        app.SetText(ids::kTxtCmd, "-x 1, 2");
        for (int id : {ids::kChkCon, ids::kChkWarn, ids::kChkDebug, ids::kOptGui}) {
            app.Click(id);
        }
        ExpectStates(app, {{ids::kOptGui, BST_CHECKED},
                           {ids::kChkCon, BST_CHECKED},
                           {ids::kChkJen, BST_UNCHECKED},
                           {ids::kChkDebug, BST_CHECKED}});
        app.Click(ids::kCmdExit);
        ASSERT_TRUE(app.WaitForExit(kStartTimeout));
    }
    EXPECT_EQ(Layout().Read("KTVDebug.cfg").value_or(""),
              "lccpath=d:\\tools,x\\lcc\r\nktvpath=d:\\ktv\r\nbasicpath=c:\\my work\\prog.bas\r\n"
              "jfe=0\r\nccon=1\r\nnotepad=0\r\nlibs=a.lib;b.lib\r\ngui=True\r\ndll=False\r\n"
              "con=False\r\ncmd=-x 1, 2\r\ncwarn=1\r\nrun=0\r\nlccdeb=1\r\n");

    AppSession& again = Start();
    EXPECT_EQ(again.Text(ids::kTxtLccPath), "d:\\tools,x\\lcc");
    EXPECT_EQ(again.Text(ids::kTxtKtvPath), "d:\\ktv");
    EXPECT_EQ(again.Text(ids::kTxtBasFile), "c:\\my work\\prog.bas");
    EXPECT_EQ(again.Text(ids::kTxtLibs), "a.lib;b.lib");
    EXPECT_EQ(again.Text(ids::kTxtCmd), "-x 1, 2");
    EXPECT_FALSE(again.IsEnabled(ids::kTxtCmd));
    ExpectStates(again, {{ids::kOptGui, BST_CHECKED},
                         {ids::kOptCon, BST_UNCHECKED},
                         {ids::kOptDll, BST_UNCHECKED},
                         {ids::kChkWarn, BST_CHECKED},
                         {ids::kChkNote, BST_UNCHECKED},
                         {ids::kChkJen, BST_UNCHECKED},
                         {ids::kChkCon, BST_CHECKED},
                         {ids::kChkRun, BST_UNCHECKED},
                         {ids::kChkDebug, BST_CHECKED}});
}

// A process of the program started here rather than through AppSession: the
// box comes before the main window is shown, which AppSession waits for.
class StartedProgram {
public:
    StartedProgram(const std::string& program, const std::string& folder) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + program + "\"";
        if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, folder.c_str(), &startup, &info_)) {
            throw DriverError("cannot start " + program);
        }
        ::CloseHandle(info_.hThread);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram() {
        ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, 5000);
        ::CloseHandle(info_.hProcess);
    }

    // A visible top-level window of the process with this class or this
    // title (null: any), or null.
    HWND Find(const char* className, const char* title) const {
        struct Search {
            DWORD process;
            const char* className;
            const char* title;
            HWND found = nullptr;
        } search{info_.dwProcessId, className, title};
        ::EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                char name[64] = {};
                char caption[64] = {};
                ::GetWindowThreadProcessId(window, &owner);
                ::GetClassNameA(window, name, sizeof name);
                ::GetWindowTextA(window, caption, sizeof caption);
                if (owner == s->process && ::IsWindowVisible(window) &&
                    (s->className == nullptr || std::string(name) == s->className) &&
                    (s->title == nullptr || std::string(caption) == s->title)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    PROCESS_INFORMATION info_{};
};

std::string TextOf(HWND window) {
    char text[256] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(E2eTest, AnEmptySettingsFileShowsEofAndLoadsNothing) {
    Layout().Write("KTVDebug.cfg", "");
    StartedProgram program(Layout().Program(), Layout().Root());
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = program.Find("#32770", nullptr)) != nullptr; }, kBoxTimeout));
    EXPECT_EQ(TextOf(box), "KTVDebugger");
    bool saidEof = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        saidEof = saidEof || TextOf(child) == "EOF";
    }
    EXPECT_TRUE(saidEof);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);

    HWND main = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (main = program.Find(nullptr, "KTV Debugger 3.001")) != nullptr; },
                  kStartTimeout));
    // Nothing was loaded: the JFE box of a first start stays off.
    EXPECT_EQ(::SendMessageA(::GetDlgItem(main, ids::kChkJen), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(TextOf(::GetDlgItem(main, ids::kTxtLccPath)), "c:\\lcc");
}

}  // namespace
}  // namespace ktv::e2e
