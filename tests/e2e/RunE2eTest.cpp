// A Debug run the user can watch and stop: the status bar, the Stop button
// and closing the window during a run.

#include "E2eTest.h"

namespace ktv::e2e {
namespace {

using namespace std::chrono_literals;

std::string StatusOf(const AppSession& app) {
    return TextOf(app.Control(ids::kStatusBar));
}

// The translator hangs, having started a helper process of its own. The
// window answers throughout and says what runs and for how long; Stop ends
// both processes, and the run finishes as always, without a box, leaving the
// folder as it found it.
TEST_F(E2eTest, AHangingTranslatorAndItsHelperAreStoppedFromTheWindow) {
    Layout().Write("work\\scenario.txt", "ktvc.helper=1\r\nktvc.hang_ms=60000\r\n");
    const std::vector<std::string> before = Layout().List("work");
    AppSession& app = Start();
    EXPECT_EQ(StatusOf(app), "Ready");
    const AnswerWatch watch(app.MainWindow());
    app.Click(ids::kDebugButton);
    ASSERT_TRUE(WaitUntil([&] { return Layout().CommandLinesOf("ktvc").size() == 2; }));
    EXPECT_TRUE(WaitUntil([&] { return StatusOf(app) == "Translating prog.bas\x85 1 s"; }))
        << StatusOf(app);
    EXPECT_EQ(TextOf(app.Control(ids::kDebugButton)), "Stop");
    EXPECT_FALSE(::IsWindowEnabled(app.Control(ids::kBasicFileField)));

    app.Click(ids::kDebugButton);
    ASSERT_TRUE(app.WaitUntilIdle());
    EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("ktvc.exe").empty(); }, 1s));
    EXPECT_EQ(StatusOf(app), "The Debug run was stopped.");
    EXPECT_EQ(Layout().List("work"), before);
    EXPECT_LT(watch.Longest(), 500ms);

    Layout().Write("work\\scenario.txt", "");  // the next run goes as ever
    const MessageBoxInfo success = DebugUntilBox(app);
    EXPECT_EQ(success.title, "Success!");
    Acknowledge(app, success);
}

// Closed during a run, the window stops it, finishes it and saves the
// settings before the program ends.
TEST_F(E2eTest, ClosingTheWindowDuringARunStopsItAndSavesTheSettings) {
    Layout().Write("work\\scenario.txt", "ktvc.helper=1\r\nktvc.hang_ms=60000\r\n");
    AppSession& app = Start();
    app.Click(ids::kDebugButton);
    ASSERT_TRUE(WaitUntil([&] { return Layout().CommandLinesOf("ktvc").size() == 2; }));
    EXPECT_TRUE(app.Close());
    EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("ktvc.exe").empty(); }, 1s));
    EXPECT_NE(Layout().Read("KTVDebug.cfg").value_or("").find("basicpath=" + Layout().BasicFile()),
              std::string::npos);
}

}  // namespace
}  // namespace ktv::e2e
