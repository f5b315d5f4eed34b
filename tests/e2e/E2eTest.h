#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "WindowDriver.h"
#include "model/ControlIds.h"

namespace ktv::e2e {

using namespace ktv::driver;

// Each test gets its own folder with a copy of the program and the tools, and
// at most one running program, ended at the test's end whatever happened.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        layout_ = std::make_unique<TestLayout>(ToWindowsPath(KTV_E2E_PROGRAM),
                                               ToWindowsPath(KTV_E2E_STANDINS));
    }
    void TearDown() override { app_.reset(); }

    TestLayout& Layout() { return *layout_; }

    // Starts the program from the test's folder and waits for its window; with
    // the directory fields on the test's tools and the Basic file field on
    // work\prog.bas unless `asSaved`.
    AppSession& Start(bool asSaved = false) {
        app_.reset();
        app_ = std::make_unique<AppSession>(layout_->Program(), layout_->Root());
        if (!asSaved) {
            app_->SetText(ids::kLccDirectoryField, layout_->LccDir());
            app_->SetText(ids::kKtvDirectoryField, layout_->KtvDir());
            app_->SetText(ids::kBasicFileField, layout_->BasicFile());
        }
        return *app_;
    }

    // Presses Debug and returns the first box of the run.
    MessageBoxInfo DebugUntilBox(AppSession& app) {
        app.Click(ids::kDebugButton);
        const std::optional<MessageBoxInfo> box = app.WaitForBox();
        if (!box) {
            throw DriverError("no box after Debug");
        }
        return *box;
    }

    // Presses OK, waits until the run has given the window back and checks
    // that the window and every button, option button and check box are on.
    void Acknowledge(AppSession& app, const MessageBoxInfo& box) {
        app.PressOk(box);
        ASSERT_TRUE(app.WaitUntilIdle());
        for (int id = ids::kGuiOption; id <= ids::kDebugButton; ++id) {
            EXPECT_TRUE(app.Control(id) == nullptr || ::IsWindowEnabled(app.Control(id))) << id;
        }
    }

private:
    std::unique_ptr<TestLayout> layout_;
    std::unique_ptr<AppSession> app_;
};

}  // namespace ktv::e2e
