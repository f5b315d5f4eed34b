// The windows' controls as screen readers and automation tools meet them:
// each field, check box group and option group of the main window named by
// the label window right before it in the tab order, and the Problems
// window's code pane as read-only text named by its label.

#include <fstream>
#include <memory>

#include "Win32Test.h"
#include "model/ControlIds.h"
#include "model/MainWindowModel.h"
#include "platform/win32/Win32Platform.h"
#include "views/MainWindow.h"
#include "views/ProblemsWindow.h"

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

TEST(ProblemsWindow, ThePaneIsReadOnlyTextNamedByItsLabelWithTheCodeAsItsValue) {
    const testing::TestFolder folder;
    std::ofstream(folder.In("prog.bas"), std::ios::binary) << "$SOURCE\r\nPRINT 2\r\n";
    std::ofstream(folder.In("prog.c"), std::ios::binary) << "// [1]\r\n// [2]\r\nx;\r\n";
    RunProblems run = NoProblems(folder.In("prog.bas"), {folder.Path(), "prog", "prog.bas"});
    Problem problem;
    problem.message = " undeclared x";
    problem.cLine = 3;
    problem.basicLine = "2";
    run.problems.push_back(problem);
    Win32Platform real;
    Platform platform = real.Get();
    BuildNames names{folder.Path(), "prog", "prog.bas"};
    RunControl control;
    const DebugContext context{{}, names, platform, 0, control};
    const HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                         nullptr, nullptr, nullptr, nullptr);
    {
        ProblemsWindow window(::GetModuleHandleA(nullptr), owner,
                              std::make_unique<ProblemsWindowModel>(run, context));
        const testing::Accessible pane(::GetDlgItem(window.Hwnd(), ProblemsWindow::kCodeId));
        EXPECT_EQ(pane.role, ROLE_SYSTEM_TEXT);
        EXPECT_EQ(pane.state & STATE_SYSTEM_READONLY, STATE_SYSTEM_READONLY);
        EXPECT_EQ(pane.name, L"Code beside the problem:");
        EXPECT_EQ(pane.value,
                  L"prog.bas, line 2\r\n  1  $SOURCE\r\n> 2  PRINT 2\r\n\r\n"
                  L"prog.c, line 3\r\n  1  // [1]\r\n  2  // [2]\r\n> 3  x;\r\n");
    }
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace ktv::win32
