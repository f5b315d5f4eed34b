#include "model/MainWindowController.h"

#include <memory>
#include <string>
#include <string_view>

#include "debug/DebugButton.h"
#include "debug/EditorCommands.h"
#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"
#include "model/BrowseActions.h"
#include "model/ProblemsWindowModel.h"
#include "model/Settings.h"

namespace ktv {

MainWindowController::MainWindowController(MainWindowModel& model, Platform& platform,
                                           MainWindowView& view)
    : model_(model), platform_(platform), view_(view) {
    model_.debugButton.SetHandler([this] { OnDebug(); });
    model_.browseLccButton.SetHandler([this] { OnBrowseLcc(); });
    model_.browseBasicFileButton.SetHandler([this] { OnBrowseBasicFile(); });
    model_.browseKtvButton.SetHandler([this] { OnBrowseKtv(); });
    model_.browseLibrariesButton.SetHandler([this] { OnBrowseLibraries(); });
    model_.aboutButton.SetHandler([this] { OnAbout(); });
    model_.exitButton.SetHandler([this] { OnExit(); });
    model_.browseEditorButton.SetHandler([this] { OnBrowseEditor(); });
    model_.escapeKey.SetHandler([this] { OnEscape(); });
    model_.closeWindow.SetHandler([this] { OnClose(); });
    model_.editorCommandField.SetCommitHandler([this] { CheckEditorCommand(); });
    // The editors on this machine are looked for when the user opens the
    // list, not at every start.
    model_.editorCommandField.SetSuggestionsHandler([this] {
        Guarded("Could not look for your editors",
                [&] { model_.editorCommandField.SetSuggestions(FindInstalledEditors(platform_)); });
    });
}

template <typename Body>
void MainWindowController::Guarded(std::string_view failure, Body&& body) {
    ReportingFailure(body, [&](std::string_view reason) { Report(failure, reason); });
}

void MainWindowController::Report(std::string_view failure, std::string_view reason) {
    try {
        ErrorBox(platform_.desktop, view_.Handle(),
                 std::string(failure) + ": " + std::string(reason));
    } catch (...) {
        // A box that cannot be shown leaves nothing else to tell the user with.
    }
}

// Each step by itself: a settings file that cannot be read still leaves a
// centred window with its rules applied.
void MainWindowController::OnLoad() {
    Guarded("Could not switch off Notepad's word wrap",
            [&] { ApplyNotepadWordWrapGuard(platform_.registry); });
    Guarded("Could not load the settings", [&] { LoadConfig(model_, platform_, view_.Handle()); });
    Guarded("Could not centre the window", [&] { CentreOnScreen(); });
    Guarded("Could not apply the link mode", [&] { model_.ApplyCommandLineRule(); });
}

// The program ends even when the settings cannot be written.
void MainWindowController::OnUnload() {
    Guarded("Could not save the settings", [&] { SaveConfig(model_, platform_, view_.Handle()); });
    view_.EndProgram();
}

void MainWindowController::CentreOnScreen() {
    const WindowSize window = view_.OuterSize();
    const ScreenPoint at =
        CentredIn(platform_.desktop.WorkArea(view_.Handle()), window.width, window.height);
    view_.MoveTo(at.x, at.y);
}

// During a run the button reads "Stop": a press then asks the run to stop,
// from inside the run's own waits, which keep the window answering. Once
// the run has given the window back it reads "Debug" again while the run
// ends, and a press then starts the next run as soon as this one is over.
void MainWindowController::OnDebug() {
    if (running_ != nullptr) {
        if (stoppable_) {
            running_->run.RequestStop();
        } else {
            debugAgain_ = true;
        }
        return;
    }
    do {
        debugAgain_ = false;
        RunDebug();
    } while (debugAgain_ && !closeAfterRun_);
    if (closeAfterRun_) {
        OnUnload();
    }
}

void MainWindowController::RunDebug() {
    IgnoringFailure([&] { view_.CloseProblems(); });
    Guarded("Could not run Debug", [&] {
        RunControl run;
        run.SetStepObserver([this](const std::string& step) { ShowStep(step); });
        DebugContext context{model_.Options(), names_, platform_, view_.Handle(), run};
        outcome_.clear();
        running_ = &context;
        RunDebugButton(context, *this);
    });
    running_ = nullptr;
    stoppable_ = false;
    model_.statusLine.Show(outcome_.empty() ? StatusLine::kReady : outcome_);
}

void MainWindowController::OnEscape() {
    if (running_ != nullptr && stoppable_) {
        running_->run.RequestStop();
    }
}

// Closed during a run, the window goes once the run has finished: its tools
// stopped and its intermediate files removed. The settings are saved then.
void MainWindowController::OnClose() {
    if (running_ != nullptr) {
        closeAfterRun_ = true;
        running_->run.RequestStop();
        return;
    }
    OnUnload();
}

void MainWindowController::ShowStep(const std::string& step) {
    if (step.empty()) {
        model_.statusLine.Show(outcome_);
    } else {
        model_.statusLine.ShowUnderWay(step, platform_.system.MonotonicTime());
    }
}

void MainWindowController::ShowOutcome(const std::string& text) {
    outcome_ = text;
    if (running_ != nullptr) {
        running_->run.ShowStep("");  // no step is under way any more
    } else {
        model_.statusLine.Show(outcome_);
    }
}

void MainWindowController::SetButtonsEnabled(bool enabled) {
    // Each control by itself, in the window's order: one that fails to follow
    // must not keep the others locked. Debug stays on as the run's Stop.
    for (Control* control : model_.Controls()) {
        const ControlKind kind = control->Kind();
        if (control != &model_.debugButton &&
            (kind == ControlKind::CommandButton || kind == ControlKind::OptionButton ||
             kind == ControlKind::CheckBox)) {
            IgnoringFailure([&] { control->SetEnabled(enabled); });
        }
    }
    stoppable_ = !enabled;
    IgnoringFailure([&] {
        model_.debugButton.SetEnabled(true);
        model_.debugButton.SetCaption(enabled ? MainWindowModel::kDebugCaption
                                              : MainWindowModel::kStopCaption);
    });
}

void MainWindowController::SetWindowEnabled(bool enabled) {
    model_.window.SetEnabled(enabled);
}

void MainWindowController::ShowDirectories(const std::string& lccPath, const std::string& ktvPath) {
    model_.lccDirectoryField.SetText(lccPath);
    model_.ktvDirectoryField.SetText(ktvPath);
}

void MainWindowController::ShowProblems(RunProblems problems) {
    if (running_ != nullptr) {
        view_.ShowProblems(std::make_unique<ProblemsWindowModel>(std::move(problems), *running_));
    }
}

void MainWindowController::OnBrowseLcc() {
    Guarded("Could not choose the LCC directory",
            [&] { BrowseLccDirectory(model_, platform_.desktop, view_.Handle()); });
}

void MainWindowController::OnBrowseBasicFile() {
    Guarded("Could not choose the Basic file",
            [&] { BrowseBasicFile(model_, platform_.desktop, view_.Handle()); });
}

void MainWindowController::OnBrowseKtv() {
    Guarded("Could not choose the KTV directory",
            [&] { BrowseKtvDirectory(model_, platform_.desktop, view_.Handle()); });
}

void MainWindowController::OnBrowseLibraries() {
    Guarded("Could not choose a library",
            [&] { BrowseLibraries(model_, platform_.desktop, view_.Handle()); });
}

void MainWindowController::OnBrowseEditor() {
    Guarded("Could not choose an editor", [&] {
        const std::vector<std::string> folders = platform_.system.ProgramFolders();
        BrowseEditor(model_, platform_.desktop, view_.Handle(),
                     folders.empty() ? std::string() : folders.front());
    });
}

void MainWindowController::CheckEditorCommand() {
    const std::string& command = model_.editorCommandField.Text();
    // Once per text: the field also loses the focus when the user only
    // switches to another program.
    if (command.empty() || command == checkedEditorCommand_) {
        return;  // nothing new: an empty one is asked for when it is needed
    }
    checkedEditorCommand_ = command;
    if (const std::optional<std::string> problem = EditorCommandProblem(command)) {
        Guarded("Could not check the editor command",
                [&] { ErrorBox(platform_.desktop, view_.Handle(), *problem); });
    }
}

void MainWindowController::OnAbout() {
    Guarded("Could not show the About box", [&] { view_.ShowAboutBox(); });
}

void MainWindowController::OnExit() {
    OnUnload();
}

}  // namespace ktv
