// The main window as a user meets it: its controls, the rules between them,
// and closing it.

#include <string>

#include "E2eFixture.h"
#include "main/ControlIds.h"

namespace ktv::e2e {
namespace {

TEST_F(E2eTest, WindowShowsEveryRowWithItsCaptions) {
    AppSession& app = Start();
    struct Expected {
        int id;
        const char* text;
    };
    const Expected rows[] = {
        {ids::kLabelTitle, "KTV Debugger"},
        {ids::kLabelSubtitle, "Change the options and click Debug."},
        {ids::kCaptionLccPath, "LCC Directory:"},
        {ids::kCaptionKtvPath, "KTV Directory:"},
        {ids::kCaptionBasFile, "Basic file to Debug:"},
        {ids::kCaptionLibs, "Include Libraries"},
        {ids::kLabelHint, "Seperate with ;"},
        {ids::kCaptionCmd, "Command Line:"},
        {ids::kCaptionCompileAs, "Compile as:"},
        {ids::kOptGui, "Gui"},
        {ids::kOptCon, "Console"},
        {ids::kOptDll, "DLL"},
        {ids::kChkWarn, "Check for C Warnings."},
        {ids::kCaptionOnError, "If Error found, do the following:"},
        {ids::kChkNote, "Launch Notepad, and goto line with error."},
        {ids::kChkJen, "Launch JFE, and goto line with error"},
        {ids::kChkCon, "Launch Context and goto line with error"},
        {ids::kCaptionOnSuccess, "If No Errors found, do the following:"},
        {ids::kChkRun, "Run the Application"},
        {ids::kChkDebug, "Debug with LCC Wedit"},
        {ids::kCommand2LccBrowse, "..."},
        {ids::kCommand4KtvBrowse, "..."},
        {ids::kCommand3BasBrowse, "..."},
        {ids::kCommand5LibBrowse, "..."},
        {ids::kCmdExit, "Exit"},
        {ids::kCommand6About, "About"},
        {ids::kCommand1Debug, "Debug"},
    };
    for (const Expected& row : rows) {
        EXPECT_EQ(app.Text(row.id), row.text) << "control " << row.id;
    }
    // Rows stand top to bottom in the order the user reads them.
    const int order[] = {ids::kTxtLccPath, ids::kTxtKtvPath, ids::kTxtBasFile,
                         ids::kTxtLibs,    ids::kTxtCmd,     ids::kOptGui,
                         ids::kChkNote,    ids::kChkRun,     ids::kCommand1Debug};
    int previousTop = -1;
    for (int id : order) {
        RECT rect{};
        ::GetWindowRect(app.Control(id), &rect);
        EXPECT_GT(rect.top, previousTop) << "control " << id;
        previousTop = rect.top;
    }
    // "Debug" is the default button: Enter presses it.
    const LONG style = ::GetWindowLongA(app.Control(ids::kCommand1Debug), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST_F(E2eTest, FirstStartShowsTheDefaults) {
    AppSession& app = Start();
    EXPECT_EQ(app.Text(ids::kTxtLccPath), "c:\\lcc");
    EXPECT_EQ(app.Text(ids::kTxtKtvPath), "c:\\ktv");
    EXPECT_EQ(app.Text(ids::kTxtBasFile), "");
    EXPECT_EQ(app.Text(ids::kTxtLibs), "");
    EXPECT_EQ(app.Text(ids::kTxtCmd), "");
    ExpectStates(app, {{ids::kOptGui, BST_UNCHECKED},
                       {ids::kOptCon, BST_CHECKED},
                       {ids::kOptDll, BST_UNCHECKED},
                       {ids::kChkWarn, BST_UNCHECKED},
                       {ids::kChkNote, BST_UNCHECKED},
                       {ids::kChkJen, BST_CHECKED},
                       {ids::kChkCon, BST_UNCHECKED},
                       {ids::kChkRun, BST_UNCHECKED},
                       {ids::kChkDebug, BST_UNCHECKED}});
    EXPECT_TRUE(app.IsEnabled(ids::kTxtCmd));
    EXPECT_TRUE(app.IsMainWindowEnabled());
}

TEST_F(E2eTest, ClicksFollowTheRulesBetweenTheBoxes) {
    AppSession& app = Start();
    struct Step {
        int click;
        std::vector<std::pair<int, int>> after;
    };
    const Step steps[] = {
        // An editor box that comes on turns the other two off.
        {ids::kChkNote,
         {{ids::kChkNote, BST_CHECKED},
          {ids::kChkJen, BST_UNCHECKED},
          {ids::kChkCon, BST_UNCHECKED}}},
        {ids::kChkCon,
         {{ids::kChkNote, BST_UNCHECKED},
          {ids::kChkJen, BST_UNCHECKED},
          {ids::kChkCon, BST_CHECKED}}},
        // Clicking the one that is on leaves all three off.
        {ids::kChkCon,
         {{ids::kChkNote, BST_UNCHECKED},
          {ids::kChkJen, BST_UNCHECKED},
          {ids::kChkCon, BST_UNCHECKED}}},
        // "Run" and "Debug with Wedit" are never on together.
        {ids::kChkRun, {{ids::kChkRun, BST_CHECKED}, {ids::kChkDebug, BST_UNCHECKED}}},
        {ids::kChkDebug, {{ids::kChkRun, BST_UNCHECKED}, {ids::kChkDebug, BST_CHECKED}}},
        // The warnings box takes part in no rule.
        {ids::kChkWarn, {{ids::kChkWarn, BST_CHECKED}, {ids::kChkDebug, BST_CHECKED}}},
        {ids::kChkWarn, {{ids::kChkWarn, BST_UNCHECKED}, {ids::kChkDebug, BST_CHECKED}}},
        // One link mode at a time.
        {ids::kOptDll,
         {{ids::kOptGui, BST_UNCHECKED},
          {ids::kOptCon, BST_UNCHECKED},
          {ids::kOptDll, BST_CHECKED}}},
    };
    for (const Step& step : steps) {
        app.Click(step.click);
        ExpectStates(app, step.after);
    }
}

TEST_F(E2eTest, LinkModeSetsTheCommandLineFieldAndKeepsItsText) {
    AppSession& app = Start();
    app.SetText(ids::kTxtCmd, "-v input.txt");
    const auto enabledBecomes = [&](bool enabled) {
        return WaitUntil([&] { return app.IsEnabled(ids::kTxtCmd) == enabled; },
                         Milliseconds(5000));
    };
    app.Click(ids::kOptGui);
    EXPECT_TRUE(enabledBecomes(false));
    app.Click(ids::kOptDll);
    ExpectStates(app, {{ids::kOptDll, BST_CHECKED}});
    EXPECT_FALSE(app.IsEnabled(ids::kTxtCmd));
    app.Click(ids::kOptCon);
    EXPECT_TRUE(enabledBecomes(true));
    EXPECT_EQ(app.Text(ids::kTxtCmd), "-v input.txt");
}

TEST_F(E2eTest, TabFollowsTheRowsAndEnterPressesDebug) {
    AppSession& app = Start();
    ASSERT_TRUE(app.Activate());
    const int tabOrder[] = {ids::kTxtLccPath, ids::kCommand2LccBrowse, ids::kTxtKtvPath,
                            ids::kCommand4KtvBrowse, ids::kTxtBasFile};
    EXPECT_EQ(app.FocusedControl(), app.Control(tabOrder[0]));
    for (size_t index = 1; index < std::size(tabOrder); ++index) {
        app.PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return app.FocusedControl() == app.Control(tabOrder[index]); },
                              Milliseconds(5000)))
            << "control " << tabOrder[index];
    }
    // Enter in a text field presses the default button: Debug, which finds
    // no Basic file.
    app.PressKey(VK_RETURN);
    const auto box = app.WaitForMessageBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "Error: Bad Basic Filename");
    app.PressOk(*box);
    EXPECT_TRUE(app.WaitUntilIdle());
}

TEST_F(E2eTest, CloseBoxEndsTheProgram) {
    AppSession& app = Start();
    EXPECT_TRUE(app.Close());
}

TEST_F(E2eTest, ExitSavesWhatWasTypedAndEndsTheProgram) {
    AppSession& app = Start();
    app.SetText(ids::kTxtLccPath, "d:\\tools\\lcc");
    app.SetText(ids::kTxtLibs, "a.lib;b.lib");
    app.Click(ids::kCmdExit);
    ASSERT_TRUE(app.WaitForExit(kStartTimeout));
    const std::string settings = Layout().Read("KTVDebug.cfg").value_or("");
    EXPECT_NE(settings.find("lccpath=d:\\tools\\lcc\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("libs=a.lib;b.lib\r\n"), std::string::npos) << settings;
}

TEST_F(E2eTest, SettingsFileChoosingGuiStartsWithTheCommandLineDisabled) {
    Layout().Write("KTVDebug.cfg",
                   "lccpath=c:\\lcc\r\nktvpath=c:\\ktv\r\nbasicpath=\r\njfe=0\r\nccon=0\r\n"
                   "notepad=1\r\nlibs=\r\ngui=True\r\ndll=False\r\ncon=False\r\ncmd=keep me\r\n"
                   "cwarn=2\r\nrun=0\r\nlccdeb=1\r\n");
    AppSession& app = Start();
    EXPECT_FALSE(app.IsEnabled(ids::kTxtCmd));
    EXPECT_EQ(app.Text(ids::kTxtCmd), "keep me");
    ExpectStates(app, {{ids::kOptGui, BST_CHECKED},
                       {ids::kChkNote, BST_CHECKED},
                       {ids::kChkJen, BST_UNCHECKED},
                       {ids::kChkWarn, BST_INDETERMINATE},
                       {ids::kChkDebug, BST_CHECKED}});
}

TEST_F(E2eTest, AboutBoxIsModal) {
    AppSession& app = Start();
    app.Click(ids::kCommand6About);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            about = ::FindWindowA(nullptr, "About KTV Debugger");
            return about != nullptr && ::IsWindowVisible(about);
        },
        kBoxTimeout));
    EXPECT_FALSE(app.IsMainWindowEnabled());
    ::PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return app.IsMainWindowEnabled(); }, kBoxTimeout));
}

}  // namespace
}  // namespace ktv::e2e
