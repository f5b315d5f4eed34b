// Whole Debug runs and the window through KTVDebugger.exe, with the stand-ins
// as the tools: what the user sees, which programs ran with which command
// lines, what stays on disk.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

using Lines = std::vector<std::string>;

// A clean build links in the work folder and runs the program through
// Windows' own cmd.exe, never one that came with the project.
TEST_F(E2eTest, ASuccessfulBuildRunsTheConsoleProgramThroughTheSystemsCmd) {
    Layout().Copy(Layout().LccDir() + "\\bin\\builtprog.exe", "work\\cmd.exe");
    AppSession& app = Start();
    app.SetText(ids::kTxtCmd, "alpha \"b c\"");
    app.Set(ids::kChkRun, BST_CHECKED);
    const MessageBoxInfo box = DebugUntilBox(app);
    EXPECT_EQ(box.title, "Success!");
    EXPECT_EQ(box.text,
              "Application prog.bas has been compiled succesfully\r\n\r\n"
              "There were no detected errors \r\n");
    Acknowledge(app, box);
    EXPECT_EQ(Layout().CommandLinesOf("lcclnk"),
              Lines{"\"" + Layout().LccDir() +
                    "\\bin\\lcclnk.exe\" -o prog.exe -subsystem console -s prog.obj  "});
    ASSERT_TRUE(WaitUntil([&] { return !Layout().CommandLinesOf("builtprog").empty(); }));
    const Lines runs = Layout().CommandLinesOf("builtprog");
    ASSERT_EQ(runs.size(), 1u);  // the program, and not the planted cmd.exe
    EXPECT_TRUE(runs[0].ends_with("prog.exe alpha \"b c\"") &&
                runs[0].find("/k") == std::string::npos)
        << runs[0];
    for (const char* gone : {"work\\prog.obj", "work\\lcc.err", "work\\ktv.err"}) {
        EXPECT_FALSE(Layout().Read(gone).has_value()) << gone;
    }
    EXPECT_TRUE(Layout().Read("work\\prog.c").has_value());
}

TEST_F(E2eTest, SettingsSurviveARestart) {
    {
        AppSession& app = Start(true);
        app.SetText(ids::kTxtLccPath, "  d:\\tools,x\\lcc  ");
        app.SetText(ids::kTxtCmd, "-x 1, 2");
        for (int id : {ids::kChkCon, ids::kChkWarn, ids::kChkDebug, ids::kOptGui}) {
            app.Set(id, BST_CHECKED);
        }
        app.Click(ids::kCmdExit);
        EXPECT_TRUE(WaitUntil([&] { return app.HasExited(); }));
    }
    EXPECT_EQ(Layout().Read("KTVDebug.cfg").value_or(""),
              "lccpath=d:\\tools,x\\lcc\r\nktvpath=c:\\ktv\r\nbasicpath=\r\njfe=0\r\nccon=1\r\n"
              "notepad=0\r\nlibs=\r\ngui=True\r\ndll=False\r\ncon=False\r\ncmd=-x 1, 2\r\n"
              "cwarn=1\r\nrun=0\r\nlccdeb=1\r\n");
    AppSession& again = Start(true);
    EXPECT_EQ(TextOf(again.Control(ids::kTxtLccPath)), "d:\\tools,x\\lcc");
    EXPECT_FALSE(::IsWindowEnabled(again.Control(ids::kTxtCmd)));
    EXPECT_EQ(again.CheckState(ids::kChkDebug), BST_CHECKED);
}

TEST_F(E2eTest, TheAboutBoxIsModalCentredEachTimeAndCloses) {
    AppSession& app = Start(true);
    for (const WPARAM close : {WPARAM{1501}, WPARAM{IDCANCEL}}) {  // "Close", then Esc
        app.Click(ids::kCommand6About);
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            return (about = FindTopLevel(app.ProcessId(), nullptr, "About KTV Debugger"));
        }));
        RECT rect{};
        ::GetWindowRect(about, &rect);
        EXPECT_EQ(rect.left, (::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
        EXPECT_EQ(rect.top, (::GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2);
        EXPECT_FALSE(::IsWindowEnabled(app.MainWindow()));
        // Moved by the user: the next opening is centred all the same.
        ::SetWindowPos(about, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(TextOf(::GetDlgItem(about, 1501)), "Close");
        ::PostMessageA(about, WM_COMMAND, close, 0);
        EXPECT_TRUE(
            WaitUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(app.MainWindow()); }));
    }
}

}  // namespace
}  // namespace ktv::e2e
