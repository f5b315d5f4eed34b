#pragma once

#include <gtest/gtest.h>

#include <vector>
#include <memory>
#include <string>
#include <utility>

#include "E2eDriver.h"

namespace ktv::e2e {

// Each test gets its own folder with a copy of the program and the tools, and
// at most one running program, ended at the test's end whatever happened.
class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TestLayout& Layout() { return *layout_; }

    // Starts the program from the test's folder and waits for its window.
    AppSession& Start();

    // Points the directory fields at the test's tools and the Basic file field
    // at work\prog.bas.
    void UseLayout(AppSession& app) const;

    // Presses Debug and returns the first message box of the run.
    MessageBoxInfo DebugUntilBox(AppSession& app) const;

    // Presses OK on the box and waits until the run has given the window back.
    void Acknowledge(AppSession& app, const MessageBoxInfo& box) const;

    // Waits (bounded) until each check box or option button shows its state.
    void ExpectStates(AppSession& app, const std::vector<std::pair<int, int>>& states) const;

    // What every run leaves: the window and every button, option button and
    // check box enabled; the command line field enabled only for Console.
    void ExpectWindowGivenBack(AppSession& app, bool commandLineEnabled) const;

private:
    std::unique_ptr<TestLayout> layout_;
    std::unique_ptr<AppSession> app_;
};

}  // namespace ktv::e2e
