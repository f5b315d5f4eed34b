#pragma once

#include <string_view>

#include "debug/DebugButton.h"
#include "model/MainWindowModel.h"
#include "model/MainWindowView.h"
#include "platform/Platform.h"

namespace ktv {

// The main window's behaviour: its start sequence and the handlers of its
// buttons. The constructor hooks the handlers to the model's buttons, so that a
// click on the real window (forwarded as CommandButton::Click) runs them.
class MainWindowController : private DebugButtonWindow {
public:
    MainWindowController(MainWindowModel& model, Platform& platform, MainWindowView& view);
    MainWindowController(const MainWindowController&) = delete;
    MainWindowController& operator=(const MainWindowController&) = delete;

    void OnLoad();
    void OnUnload();

    void OnDebug();            // Debug, which reads "Stop" during a run
    void OnEscape();           // Esc: stops a run
    void OnClose();            // the window's close box: stops a run first
    void OnBrowseLcc();        // "..." LCC directory
    void OnBrowseBasicFile();  // "..." Basic file
    void OnBrowseKtv();        // "..." KTV directory
    void OnBrowseLibraries();  // "..." libraries
    void OnBrowseEditor();     // "..." my editor
    void OnAbout();            // About
    void OnExit();

    const BuildNames& Names() const { return names_; }

private:
    // DebugButtonWindow: what a Debug run locks and gives back.
    void SetButtonsEnabled(bool enabled) override;
    void SetWindowEnabled(bool enabled) override;
    void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) override;
    void ShowOutcome(const std::string& text) override;
    void ShowProblems(RunProblems problems) override;
    // The run's step in the status bar, or its outcome when none is under way.
    void ShowStep(const std::string& step);

    // Runs a handler's work; a failure is reported as "<failure>: <reason>"
    // and never leaves the handler.
    template <typename Body>
    void Guarded(std::string_view failure, Body&& body);
    void Report(std::string_view failure, std::string_view reason);
    void CentreOnScreen();
    // One Debug run, with the window locked and its steps in the status bar.
    void RunDebug();
    // The editor command the user has entered, refused with a message when
    // it could not open a file.
    void CheckEditorCommand();

    MainWindowModel& model_;
    Platform& platform_;
    MainWindowView& view_;
    BuildNames names_;
    DebugContext* running_ = nullptr;   // during a Debug run
    bool stoppable_ = false;            // Debug reads "Stop"
    bool debugAgain_ = false;           // Debug was pressed as the run ended
    bool closeAfterRun_ = false;        // the window was closed during the run
    std::string outcome_;               // how the run ended, so far
    std::string checkedEditorCommand_;  // the one last checked
};

}  // namespace ktv
