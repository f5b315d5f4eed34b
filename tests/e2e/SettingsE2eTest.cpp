// The window through KTVDebugger.exe: settings kept beside the program across
// a restart.

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
    EXPECT_TRUE(
        Layout().Read("KTVDebug.cfg").value_or("").starts_with("lccpath=d:\\tools,x\\lcc\r\n"));
    AppSession& again = Start(true);
    EXPECT_EQ(TextOf(again.Control(ids::kTxtLccPath)), "d:\\tools,x\\lcc");
    EXPECT_FALSE(::IsWindowEnabled(again.Control(ids::kTxtCmd)));
    EXPECT_EQ(again.CheckState(ids::kChkDebug), BST_CHECKED);
}

}  // namespace
}  // namespace ktv::e2e
