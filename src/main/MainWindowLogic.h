#pragma once

#include <string_view>

#include "debug/DebugRun.h"
#include "main/MainForm.h"
#include "main/MainView.h"
#include "platform/Platform.h"

namespace ktv {

// The main window's behaviour: its start sequence and the handlers of its
// buttons. The constructor hooks the handlers to the form's buttons, so that a
// click on the real window (forwarded as CommandButton::Click) runs them.
class MainWindowLogic : private RunWindow {
public:
    MainWindowLogic(MainForm& form, Platform& platform, MainView& view);
    MainWindowLogic(const MainWindowLogic&) = delete;
    MainWindowLogic& operator=(const MainWindowLogic&) = delete;

    void Form_Load();
    void Form_Unload();

    void Command1_Click();  // Debug
    void Command2_Click();  // "..." LCC directory
    void Command3_Click();  // "..." Basic file
    void Command4_Click();  // "..." KTV directory
    void Command5_Click();  // "..." libraries
    void Command6_Click();  // About
    void Cmd_Exit_Click();

    const BuildRun& Run() const { return run_; }

private:
    // RunWindow: what a Debug run locks and gives back.
    void SetButtonsEnabled(bool enabled) override;
    void SetWindowEnabled(bool enabled) override;
    void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) override;
    void ShowProblems(ProblemList problems) override;

    // Runs a handler's work; a failure is reported as "<failure>: <reason>"
    // and never leaves the handler.
    template <typename Body>
    void Guarded(std::string_view failure, Body&& body);
    void Report(std::string_view failure, std::string_view reason);
    void CentreOnScreen();

    MainForm& form_;
    Platform& platform_;
    MainView& view_;
    BuildRun run_;
    const DebugContext* running_ = nullptr;  // during a Debug run
};

}  // namespace ktv
