#pragma once

#include <optional>
#include <string>
#include <vector>

#include "debug/DebugContext.h"
#include "main/FormControls.h"

namespace ktv {

// The main window's controls and the rules between them, without any window.
// Controls are named as on the form; setting a check box or an option button
// runs its handler exactly as a click does.
class MainForm {
public:
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Text fields, top to bottom.
    TextField Txt_LccPath;
    TextField Txt_KtvPath;
    TextField Txt_BasFile;
    TextField Txt_Libs;
    TextField Txt_Cmd;

    // "Compile as:"
    OptionButton Opt_Gui;
    OptionButton Opt_Con;
    OptionButton Opt_DLL;
    CheckBox Chk_warn;

    // "If Error found, do the following:"
    CheckBox Chk_Note;
    CheckBox Chk_Jen;
    CheckBox Chk_Con;

    // "If No Errors found, do the following:"
    CheckBox Chk_Run;
    CheckBox Chk_debug;

    // Buttons: the four "...", then "Exit", "About" and "Debug".
    CommandButton Command2;
    CommandButton Command4;
    CommandButton Command3;
    CommandButton Command5;
    CommandButton Cmd_Exit;
    CommandButton Command6;
    CommandButton Command1;

    // The window as a whole.
    WindowState Window;

    // The control collection in the window's order, top to bottom.
    const std::vector<Control*>& Controls() const { return controls_; }

    // The settings as the controls hold them now.
    DebugOptions Options() const;

    // The command-line rule, applied to the link mode now selected: Console
    // enables Txt_Cmd, Gui and DLL disable it, no selection leaves it alone.
    void ApplyCommandLineRule();

private:
    void Chk_Note_Click();
    void Chk_Jen_Click();
    void Chk_Con_Click();
    void Chk_Run_Click();
    void Chk_debug_Click();
    void Opt_Gui_Click();
    void Opt_Con_Click();
    void Opt_DLL_Click();

    std::vector<Control*> controls_;
};

}  // namespace ktv
