#include "model/MainWindowModel.h"

#include <initializer_list>

#include "model/ControlIds.h"

namespace ktv {
namespace {

// A box that has become 1 turns its partners off, in this order. Turning a
// partner off runs the partner's own rule, which finds it off and stops.
void TurnOffWhenOn(const CheckBox& box, std::initializer_list<CheckBox*> partners) {
    if (!box.IsOn()) {
        return;
    }
    for (CheckBox* partner : partners) {
        partner->SetState(CheckState::Unchecked);
    }
}

}  // namespace

MainWindowModel::MainWindowModel()
    : lccDirectoryField(ids::kLccDirectoryField, "c:\\lcc"),
      ktvDirectoryField(ids::kKtvDirectoryField, "c:\\ktv"),
      basicFileField(ids::kBasicFileField, ""),
      librariesField(ids::kLibrariesField, ""),
      commandLineField(ids::kCommandLineField, ""),
      editorCommandField(ids::kEditorCommandField, ""),
      guiOption(ids::kGuiOption),
      consoleOption(ids::kConsoleOption),
      dllOption(ids::kDllOption),
      checkWarningsBox(ids::kCheckWarningsBox),
      launchNotepadBox(ids::kLaunchNotepadBox),
      launchJfeBox(ids::kLaunchJfeBox),
      launchConTextBox(ids::kLaunchConTextBox),
      launchMyEditorBox(ids::kLaunchMyEditorBox),
      runProgramBox(ids::kRunProgramBox),
      debugInWeditBox(ids::kDebugInWeditBox),
      browseLccButton(ids::kBrowseLccButton),
      browseKtvButton(ids::kBrowseKtvButton),
      browseBasicFileButton(ids::kBrowseBasicFileButton),
      browseLibrariesButton(ids::kBrowseLibrariesButton),
      browseEditorButton(ids::kBrowseEditorButton),
      exitButton(ids::kExitButton),
      aboutButton(ids::kAboutButton),
      debugButton(ids::kDebugButton, kDebugCaption),
      escapeKey(0),
      closeWindow(0) {
    controls_ = {&lccDirectoryField,  &browseLccButton,       &ktvDirectoryField,
                 &browseKtvButton,    &basicFileField,        &browseBasicFileButton,
                 &librariesField,     &browseLibrariesButton, &commandLineField,
                 &guiOption,          &consoleOption,         &dllOption,
                 &checkWarningsBox,   &launchNotepadBox,      &launchJfeBox,
                 &launchMyEditorBox,  &launchConTextBox,      &editorCommandField,
                 &browseEditorButton, &runProgramBox,         &debugInWeditBox,
                 &exitButton,         &aboutButton,           &debugButton};

    const std::vector<OptionButton*> group{&guiOption, &consoleOption, &dllOption};
    for (OptionButton* button : group) {
        button->SetGroup(group);
    }
    // The design default: a console program.
    consoleOption.SetSelected(true);

    // At most one editor, and never both "Run the Application" and "Debug with
    // LCC Wedit".
    launchNotepadBox.SetHandler([this] {
        TurnOffWhenOn(launchNotepadBox, {&launchJfeBox, &launchConTextBox, &launchMyEditorBox});
    });
    launchJfeBox.SetHandler([this] {
        TurnOffWhenOn(launchJfeBox, {&launchNotepadBox, &launchConTextBox, &launchMyEditorBox});
    });
    launchConTextBox.SetHandler([this] {
        TurnOffWhenOn(launchConTextBox, {&launchJfeBox, &launchNotepadBox, &launchMyEditorBox});
    });
    launchMyEditorBox.SetHandler([this] {
        TurnOffWhenOn(launchMyEditorBox, {&launchNotepadBox, &launchJfeBox, &launchConTextBox});
    });
    runProgramBox.SetHandler([this] { TurnOffWhenOn(runProgramBox, {&debugInWeditBox}); });
    debugInWeditBox.SetHandler([this] { TurnOffWhenOn(debugInWeditBox, {&runProgramBox}); });

    // Only a console program takes a command line.
    guiOption.SetHandler([this] { commandLineField.SetEnabled(false); });
    consoleOption.SetHandler([this] { commandLineField.SetEnabled(true); });
    dllOption.SetHandler([this] { commandLineField.SetEnabled(false); });
}

DebugOptions MainWindowModel::Options() const {
    DebugOptions options;
    options.lccPath = lccDirectoryField.Text();
    options.ktvPath = ktvDirectoryField.Text();
    options.basicFile = basicFileField.Text();
    options.libraries = librariesField.Text();
    options.commandLine = commandLineField.Text();
    if (guiOption.Selected()) {
        options.linkMode = LinkMode::Gui;
    } else if (consoleOption.Selected()) {
        options.linkMode = LinkMode::Console;
    } else if (dllOption.Selected()) {
        options.linkMode = LinkMode::Dll;
    }
    // The rules keep at most one editor box on; Notepad is looked at first.
    if (launchNotepadBox.IsOn()) {
        options.editor = EditorChoice::Notepad;
    } else if (launchJfeBox.IsOn()) {
        options.editor = EditorChoice::JFE;
    } else if (launchConTextBox.IsOn()) {
        options.editor = EditorChoice::ConTEXT;
    } else if (launchMyEditorBox.IsOn()) {
        options.editor = EditorChoice::MyEditor;
    }
    options.editorCommand = editorCommandField.Text();
    options.checkWarnings = checkWarningsBox.IsOn();
    options.runProgram = runProgramBox.IsOn();
    options.debugInWedit = debugInWeditBox.IsOn();
    return options;
}

void MainWindowModel::ApplyCommandLineRule() {
    if (consoleOption.Selected()) {
        commandLineField.SetEnabled(true);
    } else if (guiOption.Selected() || dllOption.Selected()) {
        commandLineField.SetEnabled(false);
    }
}

}  // namespace ktv
