// KTVDebugger.exe runs a program whose name cmd would misread.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

// A program whose name holds a character cmd gives a meaning ("r&d") runs as
// itself through cmd, with the user's arguments.
TEST_F(E2eTest, AProgramWhoseNameHoldsAnAmpersandRunsWithItsArguments) {
    Layout().Write("work\\r&d.bas", "$SOURCE\r\nPRINT 1\r\n");
    AppSession& app = Start();
    app.SetText(ids::kBasicFileField, Layout().WorkDir() + "\\r&d.bas");
    app.SetText(ids::kCommandLineField, "arg1 arg2");
    app.Set(ids::kRunProgramBox, BST_CHECKED);
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    Acknowledge(app, success);
    ASSERT_TRUE(WaitUntil([&] { return !Layout().CommandLinesOf("builtprog").empty(); }));
    const std::vector<std::string> runs = Layout().CommandLinesOf("builtprog");
    EXPECT_TRUE(runs[0].find("r&d.exe") != std::string::npos && runs[0].ends_with(" arg1 arg2"))
        << runs[0];
}

}  // namespace
}  // namespace ktv::e2e
