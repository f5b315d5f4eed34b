// The windows' controls as screen readers and automation tools meet them:
// each field, check box group and option group of the main window named by
// the label window right before it in the tab order, and the Problems
// window's code pane as read-only text named by its label.

#include <memory>

#include "Win32Test.h"
#include "model/ControlIds.h"
#include "model/MainWindowModel.h"
#include "platform/win32/Win32Platform.h"
#include "views/MainWindow.h"
#include "views/ProblemsWindow.h"

namespace ktv::win32 {
namespace {

using driver::TextOf;

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
    BuildNames names{folder.Path(), "prog", "prog.bas"};
    RunProblems run = NoProblems(folder.In("prog.bas"), names);
    run.problems.emplace_back().cLine = 3;
    Win32Platform real;
    Platform platform = real.Get();
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
        EXPECT_TRUE(pane.value.starts_with(L"prog.c, line 3\r\nprog.c cannot be read: "))
            << std::string(pane.value.begin(), pane.value.end());
    }
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace ktv::win32
