#include "main/MainForm.h"

#include "main/ControlIds.h"

namespace ktv {

MainForm::MainForm()
    : Txt_LccPath(ids::kTxtLccPath, "c:\\lcc"),
      Txt_KtvPath(ids::kTxtKtvPath, "c:\\ktv"),
      Txt_BasFile(ids::kTxtBasFile, ""),
      Txt_Libs(ids::kTxtLibs, ""),
      Txt_Cmd(ids::kTxtCmd, ""),
      Opt_Gui(ids::kOptGui),
      Opt_Con(ids::kOptCon),
      Opt_DLL(ids::kOptDll),
      Chk_warn(ids::kChkWarn),
      Chk_Note(ids::kChkNote),
      Chk_Jen(ids::kChkJen),
      Chk_Con(ids::kChkCon),
      Chk_Run(ids::kChkRun),
      Chk_debug(ids::kChkDebug),
      Command2(ids::kCommand2LccBrowse),
      Command4(ids::kCommand4KtvBrowse),
      Command3(ids::kCommand3BasBrowse),
      Command5(ids::kCommand5LibBrowse),
      Cmd_Exit(ids::kCmdExit),
      Command6(ids::kCommand6About),
      Command1(ids::kCommand1Debug) {
    controls_ = {&Txt_LccPath, &Command2, &Txt_KtvPath, &Command4, &Txt_BasFile, &Command3,
                 &Txt_Libs,    &Command5, &Txt_Cmd,     &Opt_Gui,  &Opt_Con,     &Opt_DLL,
                 &Chk_warn,    &Chk_Note, &Chk_Jen,     &Chk_Con,  &Chk_Run,     &Chk_debug,
                 &Cmd_Exit,    &Command6, &Command1};

    const std::vector<OptionButton*> group{&Opt_Gui, &Opt_Con, &Opt_DLL};
    for (OptionButton* button : group) {
        button->SetGroup(group);
    }
    // The design default: a console program.
    Opt_Con.SetSelected(true);

    Chk_Note.SetHandler([this] { Chk_Note_Click(); });
    Chk_Jen.SetHandler([this] { Chk_Jen_Click(); });
    Chk_Con.SetHandler([this] { Chk_Con_Click(); });
    Chk_Run.SetHandler([this] { Chk_Run_Click(); });
    Chk_debug.SetHandler([this] { Chk_debug_Click(); });
    Opt_Gui.SetHandler([this] { Opt_Gui_Click(); });
    Opt_Con.SetHandler([this] { Opt_Con_Click(); });
    Opt_DLL.SetHandler([this] { Opt_DLL_Click(); });
}

DebugOptions MainForm::Options() const {
    DebugOptions options;
    options.lccPath = Txt_LccPath.Text();
    options.ktvPath = Txt_KtvPath.Text();
    options.basicFile = Txt_BasFile.Text();
    options.libraries = Txt_Libs.Text();
    options.commandLine = Txt_Cmd.Text();
    if (Opt_Gui.Selected()) {
        options.linkMode = LinkMode::Gui;
    } else if (Opt_Con.Selected()) {
        options.linkMode = LinkMode::Console;
    } else if (Opt_DLL.Selected()) {
        options.linkMode = LinkMode::Dll;
    }
    // The rules keep at most one editor box on; Notepad is looked at first.
    if (Chk_Note.IsOn()) {
        options.editor = EditorChoice::Notepad;
    } else if (Chk_Jen.IsOn()) {
        options.editor = EditorChoice::JFE;
    } else if (Chk_Con.IsOn()) {
        options.editor = EditorChoice::ConTEXT;
    }
    options.checkWarnings = Chk_warn.IsOn();
    options.runProgram = Chk_Run.IsOn();
    options.debugInWedit = Chk_debug.IsOn();
    return options;
}

void MainForm::ApplyCommandLineRule() {
    if (Opt_Con.Selected()) {
        Txt_Cmd.SetEnabled(true);
    } else if (Opt_Gui.Selected() || Opt_DLL.Selected()) {
        Txt_Cmd.SetEnabled(false);
    }
}

// Check-box rules: a box that becomes 1 turns its partners off, in this order.
// Turning a partner off runs that partner's handler, which finds 0 and stops.

void MainForm::Chk_Note_Click() {
    if (Chk_Note.IsOn()) {
        Chk_Jen.SetState(CheckState::Unchecked);
        Chk_Con.SetState(CheckState::Unchecked);
    }
}

void MainForm::Chk_Jen_Click() {
    if (Chk_Jen.IsOn()) {
        Chk_Note.SetState(CheckState::Unchecked);
        Chk_Con.SetState(CheckState::Unchecked);
    }
}

void MainForm::Chk_Con_Click() {
    if (Chk_Con.IsOn()) {
        Chk_Jen.SetState(CheckState::Unchecked);
        Chk_Note.SetState(CheckState::Unchecked);
    }
}

void MainForm::Chk_Run_Click() {
    if (Chk_Run.IsOn()) {
        Chk_debug.SetState(CheckState::Unchecked);
    }
}

void MainForm::Chk_debug_Click() {
    if (Chk_debug.IsOn()) {
        Chk_Run.SetState(CheckState::Unchecked);
    }
}

// Command-line rule: only a console program takes a command line.

void MainForm::Opt_Gui_Click() {
    Txt_Cmd.SetEnabled(false);
}

void MainForm::Opt_Con_Click() {
    Txt_Cmd.SetEnabled(true);
}

void MainForm::Opt_DLL_Click() {
    Txt_Cmd.SetEnabled(false);
}

}  // namespace ktv
