// The window through KTVDebugger.exe: settings kept across a restart, and
// the About box.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

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

TEST_F(E2eTest, TheAboutBoxIsModalCentredAndClosesWithEsc) {
    AppSession& app = Start(true);
    app.Click(ids::kCommand6About);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (about = FindTopLevel(app.ProcessId(), nullptr, "About KTV Debugger")); }));
    RECT rect{};
    ::GetWindowRect(about, &rect);
    EXPECT_EQ(rect.left, (::GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
    EXPECT_FALSE(::IsWindowEnabled(app.MainWindow()));
    ::PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(app.MainWindow()); }));
}

}  // namespace
}  // namespace ktv::e2e
