#include "main/MainWindowLogic.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "debug/DebugRun.h"
#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"
#include "main/BrowseActions.h"
#include "main/ProblemsList.h"
#include "main/Settings.h"

namespace ktv {

MainWindowLogic::MainWindowLogic(MainForm& form, Platform& platform, MainView& view)
    : form_(form), platform_(platform), view_(view) {
    form_.Command1.SetHandler([this] { Command1_Click(); });
    form_.Command2.SetHandler([this] { Command2_Click(); });
    form_.Command3.SetHandler([this] { Command3_Click(); });
    form_.Command4.SetHandler([this] { Command4_Click(); });
    form_.Command5.SetHandler([this] { Command5_Click(); });
    form_.Command6.SetHandler([this] { Command6_Click(); });
    form_.Cmd_Exit.SetHandler([this] { Cmd_Exit_Click(); });
}

template <typename Body>
void MainWindowLogic::Guarded(std::string_view failure, Body&& body) {
    try {
        body();
        return;
    } catch (const std::exception& error) {
        Report(failure, error.what());
    } catch (...) {
        Report(failure, "unknown failure");
    }
}

void MainWindowLogic::Report(std::string_view failure, std::string_view reason) {
    try {
        ErrorBox(platform_.desktop, view_.Handle(),
                 std::string(failure) + ": " + std::string(reason));
    } catch (...) {
        // A box that cannot be shown leaves nothing else to tell the user with.
    }
}

// Each step by itself: a settings file that cannot be read still leaves a
// centred window with its rules applied.
void MainWindowLogic::Form_Load() {
    Guarded("Could not switch off Notepad's word wrap",
            [&] { ApplyNotepadWordWrapGuard(platform_.registry); });
    Guarded("Could not load the settings", [&] { LoadConfig(form_, platform_, view_.Handle()); });
    Guarded("Could not centre the window", [&] { CentreOnScreen(); });
    Guarded("Could not apply the link mode", [&] { form_.ApplyCommandLineRule(); });
}

// The program ends even when the settings cannot be written.
void MainWindowLogic::Form_Unload() {
    Guarded("Could not save the settings", [&] { SaveConfig(form_, platform_, view_.Handle()); });
    view_.EndProgram();
}

void MainWindowLogic::CentreOnScreen() {
    const ScreenSize screen = platform_.desktop.GetScreenSize();
    const WindowSize window = view_.OuterSize();
    view_.MoveTo((screen.width - window.width) / 2, (screen.height - window.height) / 2);
}

void MainWindowLogic::Command1_Click() {
    IgnoringFailure([&] { view_.CloseProblems(); });
    Guarded("Could not run Debug", [&] {
        DebugContext context{form_.Options(), run_, platform_, view_.Handle()};
        running_ = &context;
        RunDebug(context, *this);
    });
    running_ = nullptr;
}

void MainWindowLogic::SetButtonsEnabled(bool enabled) {
    // Each control by itself, in the window's order: one that fails to follow
    // must not keep the others locked.
    for (Control* control : form_.Controls()) {
        const ControlKind kind = control->Kind();
        if (kind == ControlKind::CommandButton || kind == ControlKind::OptionButton ||
            kind == ControlKind::CheckBox) {
            IgnoringFailure([&] { control->SetEnabled(enabled); });
        }
    }
}

void MainWindowLogic::SetWindowEnabled(bool enabled) {
    form_.Window.SetEnabled(enabled);
}

void MainWindowLogic::ShowDirectories(const std::string& lccPath, const std::string& ktvPath) {
    form_.Txt_LccPath.SetText(lccPath);
    form_.Txt_KtvPath.SetText(ktvPath);
}

void MainWindowLogic::ShowProblems(ProblemList problems) {
    if (running_ != nullptr) {
        view_.ShowProblems(std::make_unique<ProblemsList>(std::move(problems), *running_));
    }
}

void MainWindowLogic::Command2_Click() {
    Guarded("Could not choose the LCC directory",
            [&] { BrowseLccDirectory(form_, platform_.desktop, view_.Handle()); });
}

void MainWindowLogic::Command3_Click() {
    Guarded("Could not choose the Basic file",
            [&] { BrowseBasicFile(form_, platform_.desktop, view_.Handle()); });
}

void MainWindowLogic::Command4_Click() {
    Guarded("Could not choose the KTV directory",
            [&] { BrowseKtvDirectory(form_, platform_.desktop, view_.Handle()); });
}

void MainWindowLogic::Command5_Click() {
    Guarded("Could not choose a library",
            [&] { BrowseLibraries(form_, platform_.desktop, view_.Handle()); });
}

void MainWindowLogic::Command6_Click() {
    Guarded("Could not show the About box", [&] { view_.ShowAboutBox(); });
}

void MainWindowLogic::Cmd_Exit_Click() {
    Form_Unload();
}

}  // namespace ktv
