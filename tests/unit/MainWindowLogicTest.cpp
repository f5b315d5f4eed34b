#include <gtest/gtest.h>

#include "DebugRunFixture.h"
#include "main/MainWindowLogic.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

// The real window as the behaviour sees it; every call goes into the transcript.
class FakeMainView : public MainView {
public:
    explicit FakeMainView(fakes::Transcript& transcript) : transcript_(transcript) {}

    WindowRef Handle() const override { return 42; }
    WindowSize OuterSize() const override { return size; }
    void MoveTo(int left, int top) override {
        transcript_.Add("view: move " + std::to_string(left) + "," + std::to_string(top));
    }
    void ShowAboutBox() override {
        transcript_.Add("view: about");
        if (aboutFails) {
            throw Error("dialog template missing");
        }
    }
    void EndProgram() override { transcript_.Add("view: end-program"); }

    WindowSize size{500, 400};
    bool aboutFails = false;

private:
    fakes::Transcript& transcript_;
};

class MainWindow : public fixtures::DebugRunFixture {
public:
    MainWindow() : view(fake.transcript), logic(form, platform, view) { names = &logic.Run(); }

    FakeMainView view;
    MainWindowLogic logic;
};

TEST_F(MainWindow, LoadWritesTheRegistryThenLoadsSettingsThenCentresThenAppliesTheLinkMode) {
    // A Gui selection with the field left enabled shows when the rule runs.
    form.Opt_Gui.Click();
    form.Txt_Cmd.SetEnabled(true);
    form.Chk_Jen.SetViewObserver([this] {
        fake.transcript.Add("Chk_Jen: " + std::to_string(static_cast<int>(form.Chk_Jen.State())));
    });
    form.Txt_Cmd.SetViewObserver([this] {
        fake.transcript.Add(form.Txt_Cmd.Enabled() ? "Txt_Cmd: enabled" : "Txt_Cmd: disabled");
    });
    logic.Form_Load();
    // Without a settings file loading turns the JFE box on.
    EXPECT_EQ(Folded(), (Lines{
                            "registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0",
                            "Chk_Jen: 1",
                            "view: move 390,312",
                            "Txt_Cmd: disabled",
                        }));
}

TEST_F(MainWindow, CentringKeepsTheSizeAndDoesNotClamp) {
    struct Case {
        ScreenSize screen;
        WindowSize window;
        std::string move;
    };
    const Case cases[] = {
        {{1280, 1024}, {500, 400}, "view: move 390,312"},
        {{1280, 1024}, {501, 401}, "view: move 389,311"},
        {{800, 600}, {1000, 700}, "view: move -100,-50"},
    };
    for (const Case& c : cases) {
        fake.transcript.Clear();
        fake.desktop.screen = c.screen;
        view.size = c.window;
        logic.Form_Load();
        EXPECT_EQ(Only({"view: move"}), Lines{c.move});
    }
}

TEST_F(MainWindow, ExitAndUnloadSaveAndEndTheProgramOnce) {
    for (auto close : {+[](MainWindow& w) { w.form.Cmd_Exit.Click(); },
                       +[](MainWindow& w) { w.logic.Form_Unload(); }}) {
        fake.transcript.Clear();
        close(*this);
        EXPECT_EQ(Only({"view: "}), Lines{"view: end-program"});
        EXPECT_EQ(fake.transcript.Entries().back(), "view: end-program");
    }
}

TEST_F(MainWindow, TheProgramEndsEvenWhenTheSettingsCannotBeWritten) {
    fake.files.FailOn(fakes::FsOp::Write);
    logic.Form_Unload();
    EXPECT_EQ(fake.transcript.Entries().back(), "view: end-program");
}

TEST_F(MainWindow, AboutOpensTheBoxAndAFailureIsReportedNotThrown) {
    form.Command6.Click();
    EXPECT_EQ(Only({"view: ", "box["}), Lines{"view: about"});

    fake.transcript.Clear();
    view.aboutFails = true;
    EXPECT_NO_THROW(form.Command6.Click());
    EXPECT_EQ(
        Only({"view: ", "box["}),
        (Lines{"view: about",
               "box[48|Error!]: Error: Could not show the About box: dialog template missing"}));
}

TEST_F(MainWindow, DebugButtonRunsTheBuildIntoTheWindowsOwnNames) {
    form.Command1.Click();
    EXPECT_EQ(BoxPrompts(), Lines{"Application prog.bas has been compiled succesfully\r\n\r\n"
                                  "There were no detected errors \r\n"});
    EXPECT_EQ(logic.Run().folder, "c:\\work");
    EXPECT_EQ(logic.Run().baseName, "prog");
    EXPECT_EQ(logic.Run().fileName, "prog.bas");
    EXPECT_EQ(ToolsRun(), (Lines{"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe", "lcclnk.exe"}));
    EXPECT_EQ(WindowState(), "window on, buttons on, arrow");
}

}  // namespace
}  // namespace ktv
