#include "E2eFixture.h"

#include "main/ControlIds.h"

namespace ktv::e2e {

void E2eTest::SetUp() {
    layout_ = std::make_unique<TestLayout>(ToWindowsPath(KTV_E2E_PROGRAM),
                                           ToWindowsPath(KTV_E2E_STANDINS));
}

void E2eTest::TearDown() {
    app_.reset();
    if (HasFailure()) {
        layout_->Keep();
        std::printf("Test folder kept: %s\n", layout_->Root().c_str());
    }
    layout_.reset();
}

AppSession& E2eTest::Start() {
    app_ = std::make_unique<AppSession>(layout_->Program(), layout_->Root());
    return *app_;
}

void E2eTest::UseLayout(AppSession& app) const {
    app.SetText(ids::kTxtLccPath, layout_->LccDir());
    app.SetText(ids::kTxtKtvPath, layout_->KtvDir());
    app.SetText(ids::kTxtBasFile, layout_->BasicFile());
}

MessageBoxInfo E2eTest::DebugUntilBox(AppSession& app) const {
    app.Click(ids::kCommand1Debug);
    const auto box = app.WaitForMessageBox();
    if (!box) {
        throw DriverError("no message box after Debug");
    }
    return *box;
}

void E2eTest::Acknowledge(AppSession& app, const MessageBoxInfo& box) const {
    app.PressOk(box);
    if (!app.WaitUntilIdle()) {
        throw DriverError("the run did not give the window back");
    }
}

void E2eTest::ExpectStates(AppSession& app, const std::vector<std::pair<int, int>>& states) const {
    // Clicks are posted: wait until the program has handled them.
    WaitUntil(
        [&] {
            for (const auto& [id, state] : states) {
                if (app.CheckState(id) != state) {
                    return false;
                }
            }
            return true;
        },
        Milliseconds(5000));
    for (const auto& [id, state] : states) {
        EXPECT_EQ(app.CheckState(id), state) << "control " << id;
    }
}

void E2eTest::ExpectWindowGivenBack(AppSession& app, bool commandLineEnabled) const {
    EXPECT_TRUE(app.IsMainWindowEnabled());
    for (int id : {ids::kCommand2LccBrowse, ids::kCommand4KtvBrowse, ids::kCommand3BasBrowse,
                   ids::kCommand5LibBrowse, ids::kCmdExit, ids::kCommand6About, ids::kCommand1Debug,
                   ids::kOptGui, ids::kOptCon, ids::kOptDll, ids::kChkWarn, ids::kChkNote,
                   ids::kChkJen, ids::kChkCon, ids::kChkRun, ids::kChkDebug}) {
        EXPECT_TRUE(app.IsEnabled(id)) << "control " << id;
    }
    EXPECT_EQ(app.IsEnabled(ids::kTxtCmd), commandLineEnabled);
}

}  // namespace ktv::e2e
