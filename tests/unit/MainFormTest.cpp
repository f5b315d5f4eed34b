#include <gtest/gtest.h>

#include "main/MainForm.h"

namespace ktv {
namespace {

using enum CheckState;

TEST(MainForm, StartsWithTheDesignDefaults) {
    MainForm form;
    EXPECT_EQ(form.Txt_LccPath.Text(), "c:\\lcc");
    EXPECT_EQ(form.Txt_KtvPath.Text(), "c:\\ktv");
    EXPECT_EQ(form.SelectedLinkMode(), LinkMode::Console);
    EXPECT_TRUE(form.Txt_Cmd.Enabled());
    EXPECT_EQ(form.Editor(), EditorChoice::None);
    EXPECT_EQ(form.Controls().size(), 21u);
}

TEST(MainForm, AtMostOneEditorBoxIsOn) {
    struct Case {
        CheckBox MainForm::*first;
        CheckBox MainForm::*second;
        EditorChoice editor;
    };
    const Case cases[] = {
        {&MainForm::Chk_Jen, &MainForm::Chk_Note, EditorChoice::Notepad},
        {&MainForm::Chk_Note, &MainForm::Chk_Jen, EditorChoice::JFE},
        {&MainForm::Chk_Note, &MainForm::Chk_Con, EditorChoice::ConTEXT},
        {&MainForm::Chk_Con, &MainForm::Chk_Jen, EditorChoice::JFE},
    };
    for (const Case& c : cases) {
        MainForm form;
        (form.*c.first).Click();
        (form.*c.second).Click();
        EXPECT_FALSE((form.*c.first).IsOn());
        EXPECT_EQ(form.Editor(), c.editor);
        (form.*c.second).Click();
        EXPECT_EQ(form.Editor(), EditorChoice::None);
    }
}

TEST(MainForm, RulesRunForChangesMadeByTheProgramAndIgnoreGrayed) {
    MainForm form;
    form.Chk_Con.SetState(Checked);
    form.Chk_Note.SetState(Grayed);  // grayed counts as off and clears nothing
    EXPECT_EQ(form.Chk_Con.State(), Checked);
    form.Chk_Jen.SetState(Checked);
    EXPECT_EQ(form.Chk_Con.State(), Unchecked);
    EXPECT_EQ(form.Chk_Note.State(), Unchecked);

    form.Chk_Run.SetState(Checked);
    form.Chk_debug.SetState(Checked);
    EXPECT_EQ(form.Chk_Run.State(), Unchecked);
    form.Chk_Run.Click();
    EXPECT_EQ(form.Chk_debug.State(), Unchecked);
    form.Chk_warn.SetState(Checked);  // takes part in no rule
    EXPECT_TRUE(form.Chk_Run.IsOn());
}

TEST(MainForm, CommandLineFollowsTheLinkModeAndKeepsItsText) {
    MainForm form;
    form.Txt_Cmd.SetText("-v");
    form.Opt_Gui.Click();
    EXPECT_FALSE(form.Txt_Cmd.Enabled());
    EXPECT_FALSE(form.Opt_Con.Selected());
    form.Opt_Con.Click();
    EXPECT_TRUE(form.Txt_Cmd.Enabled());
    form.Opt_DLL.SetSelected(true);
    EXPECT_FALSE(form.Txt_Cmd.Enabled());
    EXPECT_EQ(form.Txt_Cmd.Text(), "-v");

    form.Opt_DLL.SetSelected(false);  // no selection: the field keeps its state
    EXPECT_EQ(form.SelectedLinkMode(), std::nullopt);
    form.ApplyCommandLineRule();
    EXPECT_FALSE(form.Txt_Cmd.Enabled());
}

TEST(MainForm, TheViewHearsOfProgramChangesOnly) {
    MainForm form;
    int heard = 0;
    form.Txt_Cmd.SetViewObserver([&] { ++heard; });
    form.Txt_Cmd.TakeTextFromView("typed");
    EXPECT_EQ(heard, 0);
    form.Txt_Cmd.SetText("set");
    form.Opt_Gui.Click();  // disables the field
    EXPECT_EQ(heard, 2);
}

}  // namespace
}  // namespace ktv
