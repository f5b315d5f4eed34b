// A Debug run the user can watch and stop: the status bar, the Stop button
// and closing the window during a run.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

using namespace std::chrono_literals;

// The translator hangs, having started a helper process of its own. The
// window answers throughout and says what runs and for how long; Stop ends
// both processes, and the run finishes as always, without a box, leaving the
// folder as it found it. Closing the window stops the next run.
TEST_F(E2eTest, AHangingTranslatorAndItsHelperAreStoppedFromTheWindowAndByClosingIt) {
    Layout().Write("work\\scenario.txt", "ktvc.helper=1\r\nktvc.hang_ms=60000\r\n");
    const std::vector<std::string> before = Layout().List("work");
    AppSession& app = Start();
    const auto status = [&] { return TextOf(app.Control(ids::kStatusBar)); };
    EXPECT_EQ(status(), "Ready");
    const AnswerWatch watch(app.MainWindow());
    app.Click(ids::kDebugButton);
    ASSERT_TRUE(WaitUntil([&] { return Layout().CommandLinesOf("ktvc").size() == 2; }));
    EXPECT_TRUE(WaitUntil([&] { return status() == "Translating prog.bas\x85 1 s"; })) << status();
    EXPECT_EQ(TextOf(app.Control(ids::kDebugButton)), "Stop");
    EXPECT_FALSE(::IsWindowEnabled(app.Control(ids::kBasicFileField)));

    app.Click(ids::kDebugButton);
    ASSERT_TRUE(app.WaitUntilIdle());
    EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("ktvc.exe").empty(); }, 1s));
    EXPECT_EQ(status(), "The Debug run was stopped.");
    EXPECT_EQ(Layout().List("work"), before);
    EXPECT_LT(watch.Longest(), 500ms);

    // Closed during the next run, the window stops it too, and saves the
    // settings before the program ends.
    app.Click(ids::kDebugButton);
    ASSERT_TRUE(WaitUntil([&] { return Layout().CommandLinesOf("ktvc").size() == 4; }));
    EXPECT_TRUE(app.Close());
    EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("ktvc.exe").empty(); }, 1s));
    EXPECT_NE(Layout().Read("KTVDebug.cfg").value_or("").find("basicpath=" + Layout().BasicFile()),
              std::string::npos);
}

}  // namespace
}  // namespace ktv::e2e
