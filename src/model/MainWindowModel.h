#pragma once

#include <optional>
#include <string>
#include <vector>

#include "debug/DebugContext.h"
#include "model/Controls.h"
#include "model/StatusLine.h"

namespace ktv {

// The main window's controls and the rules between them, without any window:
// what each control holds and whether it takes input. Setting a check box or
// an option button runs its rule exactly as a click does, so the rules hold
// whatever made the change (a click, the settings file, a Debug run).
class MainWindowModel {
public:
    MainWindowModel();
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    // Text fields, top to bottom.
    TextField lccDirectoryField;
    TextField ktvDirectoryField;
    TextField basicFileField;
    TextField librariesField;
    TextField commandLineField;
    TextField editorCommandField;  // my editor's command, with {file} and {line}

    // "Compile as:"
    OptionButton guiOption;
    OptionButton consoleOption;
    OptionButton dllOption;
    CheckBox checkWarningsBox;

    // "If Error found, do the following:"
    CheckBox launchNotepadBox;
    CheckBox launchJfeBox;
    CheckBox launchConTextBox;
    CheckBox launchMyEditorBox;

    // "If No Errors found, do the following:"
    CheckBox runProgramBox;
    CheckBox debugInWeditBox;

    // Buttons: the five "...", then "Exit", "About" and "Debug", which reads
    // "Stop" during a run.
    CommandButton browseLccButton;
    CommandButton browseKtvButton;
    CommandButton browseBasicFileButton;
    CommandButton browseLibrariesButton;
    CommandButton browseEditorButton;
    CommandButton exitButton;
    CommandButton aboutButton;
    CommandButton debugButton;

    // The window as a whole.
    WindowState window;

    // Keys and commands of the window that are no control of its own: Esc,
    // and closing the window (its close box, Alt+F4, the task bar).
    CommandButton escapeKey;
    CommandButton closeWindow;

    // The status bar under the window's controls.
    StatusLine statusLine;

    static constexpr const char* kDebugCaption = "Debug";
    static constexpr const char* kStopCaption = "Stop";

    // The control collection in the window's order, top to bottom.
    const std::vector<Control*>& Controls() const { return controls_; }

    // The settings as the controls hold them now.
    DebugOptions Options() const;

    // The command-line rule, applied to the link mode now selected: Console
    // enables the command line, Gui and DLL disable it, no selection leaves it
    // alone.
    void ApplyCommandLineRule();

private:
    std::vector<Control*> controls_;
};

}  // namespace ktv
