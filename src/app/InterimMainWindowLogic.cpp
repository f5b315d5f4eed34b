// TEMPORARY: the start, About and Exit of the main window, so that the window
// can be seen before the build driver is merged. Removed when it arrives.

#include "main/MainWindowLogic.h"
#include "main/Settings.h"

namespace ktv {

MainWindowLogic::MainWindowLogic(MainForm& form, Platform& platform, MainView& view)
    : form_(form), platform_(platform), view_(view) {
    form_.Command6.SetHandler([this] { Command6_Click(); });
    form_.Cmd_Exit.SetHandler([this] { Cmd_Exit_Click(); });
}

void MainWindowLogic::Form_Load() {
    LoadConfig(form_, platform_, view_.Handle());
    const ScreenSize screen = platform_.desktop.GetScreenSize();
    const WindowSize size = view_.OuterSize();
    view_.MoveTo((screen.width - size.width) / 2, (screen.height - size.height) / 2);
    form_.ApplyCommandLineRule();
}

void MainWindowLogic::Form_Unload() {
    SaveConfig(form_, platform_, view_.Handle());
    view_.EndProgram();
}

void MainWindowLogic::Command1_Click() {}
void MainWindowLogic::Command2_Click() {}
void MainWindowLogic::Command3_Click() {}
void MainWindowLogic::Command4_Click() {}
void MainWindowLogic::Command5_Click() {}
void MainWindowLogic::Command6_Click() {
    view_.ShowAboutBox();
}
void MainWindowLogic::Cmd_Exit_Click() {
    Form_Unload();
}

}  // namespace ktv
