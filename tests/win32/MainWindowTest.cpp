// The main window's controls as screen readers and automation tools meet
// them: each field, check box group and option group named by the label
// window right before it in the tab order.

#include "Win32Test.h"
#include "model/ControlIds.h"
#include "model/MainWindowModel.h"
#include "views/MainWindow.h"

namespace ktv::win32 {
namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(MainWindow, EveryFieldAndGroupHasItsLabelRightBeforeItInTheTabOrder) {
    MainWindowModel model;
    MainWindow window(::GetModuleHandleA(nullptr), model, {}, [] { return false; });
    window.Create();
    const std::pair<int, const char*> labelled[] = {
        {ids::kLccDirectoryField, "LCC Directory:"},
        {ids::kKtvDirectoryField, "KTV Directory:"},
        {ids::kBasicFileField, "Basic file to Debug:"},
        {ids::kLibrariesField, "Include Libraries"},
        {ids::kCommandLineField, "Command Line:"},
        {ids::kGuiOption, "Compile as:"},
        {ids::kLaunchNotepadBox, "If Error found, do the following:"},
        {ids::kEditorCommandField, "Editor command:"},
        {ids::kRunProgramBox, "If No Errors found, do the following:"}};
    for (const auto& [id, label] : labelled) {
        const HWND previous = ::GetWindow(::GetDlgItem(window.Hwnd(), id), GW_HWNDPREV);
        char className[32] = {};
        ::GetClassNameA(previous, className, sizeof className);
        EXPECT_EQ(_stricmp(className, "Static"), 0) << label;
        EXPECT_EQ(TextOf(previous), label);
    }
}

}  // namespace
}  // namespace ktv::win32
