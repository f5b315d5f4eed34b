// The main window's model: the rules between its controls, the settings file,
// the browse buttons, its start and end, and where its controls go.

#include "World.h"
#include "main/BrowseActions.h"
#include "main/ControlIds.h"
#include "main/MainWindowLayout.h"
#include "main/MainWindowLogic.h"
#include "main/ProblemsList.h"
#include "main/Settings.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

using enum CheckState;

// Every control's value in one line: the five texts, whether the command line
// takes input, the link mode, then the six boxes (note jfe ccon warn run lccdeb).
std::string Describe(const MainForm& f) {
    const DebugOptions o = f.Options();
    const char* link = !o.linkMode                    ? "none"
                       : *o.linkMode == LinkMode::Gui ? "gui"
                       : *o.linkMode == LinkMode::Dll ? "dll"
                                                      : "con";
    std::string text = o.lccPath + "|" + o.ktvPath + "|" + o.basicFile + "|" + o.libraries + "|" +
                       o.commandLine + (f.Txt_Cmd.Enabled() ? "|on|" : "|off|") + link + "|";
    for (const CheckBox* box :
         {&f.Chk_Note, &f.Chk_Jen, &f.Chk_Con, &f.Chk_warn, &f.Chk_Run, &f.Chk_debug}) {
        text += std::to_string(static_cast<int>(box->State()));
    }
    return text;
}

constexpr const char* kDefaults = "c:\\lcc|c:\\ktv||||on|con|000000";

TEST(MainForm, StartsWithTheDesignDefaultsAndKeepsItsRules) {
    MainForm form;
    EXPECT_EQ(Describe(form), kDefaults);
    EXPECT_EQ(form.Controls().size(), 21u);
    form.Chk_Con.SetState(Checked);
    form.Chk_Note.SetState(Grayed);  // grayed counts as off and clears nothing
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|201000");
    form.Chk_Jen.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|010000");
    EXPECT_EQ(form.Options().editor, EditorChoice::JFE);
    form.Chk_Note.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|100000");
    form.Chk_Jen.Click();
    form.Chk_Con.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|001000");
    EXPECT_EQ(form.Options().editor, EditorChoice::ConTEXT);
    form.Chk_Run.Click();
    form.Chk_debug.Click();
    form.Chk_warn.Click();  // takes part in no rule
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|001101");
    EXPECT_TRUE(form.Options().debugInWedit);
    form.Chk_Run.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv||||on|con|001110");
    form.Chk_Con.Click();
    EXPECT_EQ(form.Options().editor, EditorChoice::None);
}

TEST(MainForm, TheCommandLineFollowsTheLinkModeAndKeepsItsText) {
    MainForm form;
    form.Txt_Cmd.SetText("-v");
    form.Opt_Gui.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv|||-v|off|gui|000000");
    form.Opt_Con.Click();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv|||-v|on|con|000000");
    form.Opt_Con.SetSelected(false);  // no selection: the field keeps its state
    form.ApplyCommandLineRule();
    EXPECT_EQ(Describe(form), "c:\\lcc|c:\\ktv|||-v|on|none|000000");
    int heard = 0;
    form.Txt_Cmd.SetViewObserver([&] { ++heard; });
    form.Txt_Cmd.TakeTextFromView("typed");  // the view's own change is not echoed
    form.Txt_Cmd.SetText("set");
    EXPECT_EQ(heard, 1);
}

// A settings world: the program's folder c:\KTVDebugger, the user's folder.
struct SettingsWorld {
    SettingsWorld() { fake.files.AddFolder("c:\\KTVDebugger"); }
    std::string Load(const std::string& file) {
        fake.files.AddFile(kBeside, file);
        MainForm form;
        LoadConfig(form, fake.platform, 0);
        return Describe(form);
    }
    static constexpr const char* kBeside = "c:\\KTVDebugger\\KTVDebug.cfg";
    static constexpr const char* kPerUser =
        "c:\\users\\me\\AppData\\Roaming\\KTV Debugger\\KTVDebug.cfg";
    fakes::FakePlatform fake;
};

// A first start gets JFE; every setting then survives a restart, trimmed,
// in the fourteen lines the file has always had.
TEST(Settings, AFirstStartLoadsJfeAndEverySettingSurvivesARestartTrimmed) {
    SettingsWorld world;
    MainForm first;
    LoadConfig(first, world.fake.platform, 0);
    EXPECT_EQ(Describe(first), "c:\\lcc|c:\\ktv||||on|con|010000");
    first.Txt_LccPath.SetText("  d:\\tools\\lcc  ");
    first.Txt_BasFile.SetText("c:\\my work,old\\prog.bas");
    first.Txt_Libs.SetText(" a.lib;b.lib ");
    first.Txt_Cmd.SetText("-in \"x, y\" -v=2");
    first.Chk_Con.Click();
    first.Chk_warn.Click();
    first.Chk_debug.SetState(Grayed);
    first.Opt_Gui.Click();
    SaveConfig(first, world.fake.platform, 0);
    EXPECT_EQ(world.fake.files.Content(SettingsWorld::kBeside),
              "lccpath=d:\\tools\\lcc\r\nktvpath=c:\\ktv\r\nbasicpath=c:\\my work,old\\prog.bas\r\n"
              "jfe=0\r\nccon=1\r\nnotepad=0\r\nlibs=a.lib;b.lib\r\ngui=True\r\ndll=False\r\n"
              "con=False\r\ncmd=-in \"x, y\" -v=2\r\ncwarn=1\r\nrun=0\r\nlccdeb=2\r\n");
    EXPECT_EQ(world.fake.transcript.Entries(), Lines{"write-file: c:\\KTVDebugger\\KTVDebug.cfg"});
    MainForm second;
    LoadConfig(second, world.fake.platform, 0);
    EXPECT_EQ(Describe(second),
              "d:\\tools\\lcc|c:\\ktv|c:\\my work,old\\prog.bas|a.lib;b.lib|-in \"x, y\" "
              "-v=2|off|gui|001102");
}

TEST(Settings, LoadingTriesEveryRecordAgainstTheKeysInOrder) {
    const std::pair<std::string, std::string> cases[] = {
        {"lccpath=d:\\lcc\r\n", "d:\\lcc|c:\\ktv||||on|con|000000"},  // the JFE box stays off
        {"LCCPATH=d:\\lcc\r\nJfe=1\r\nCon=False\r\n", kDefaults},
        {"lccpathX=d:\\y\r\nrunning = 1\r\n", "d:\\y|c:\\ktv||||on|con|000010"},
        {"  ktvpath =   e:\\ktv  \r\ncmd=  a b  \r\n", "c:\\lcc|e:\\ktv|||a b|on|con|000000"},
        {"lccpath\r\nlibs\r\n", kDefaults},
        {"jfe=1\r\nccon=1\r\nnotepad=1\r\n", "c:\\lcc|c:\\ktv||||on|con|010000"},
        {"jfe=0\r\nccon=1\r\nnotepad=1\r\n", "c:\\lcc|c:\\ktv||||on|con|100000"},
        {"notepad=1\r\njfe=1\r\nccon=1\r\n", "c:\\lcc|c:\\ktv||||on|con|100000"},
        {"run=1\r\nlccdeb=1\r\n", "c:\\lcc|c:\\ktv||||on|con|000010"},
        {"lccdeb=1\r\nrun=1\r\n", "c:\\lcc|c:\\ktv||||on|con|000010"},
        {"jfe=2\r\nnotepad=1\r\nrun=2\r\nlccdeb=1\r\n", "c:\\lcc|c:\\ktv||||on|con|020020"},
        {"gui=True\r\ndll=False\r\ncon=False\r\n", "c:\\lcc|c:\\ktv||||off|gui|000000"},
        {"gui=False\r\ndll=False\r\ncon=False\r\n", "c:\\lcc|c:\\ktv||||on|none|000000"},
        {"dll=-1\r\ngui=0\r\n", "c:\\lcc|c:\\ktv||||off|dll|000000"},
        {"gui=true\r\n", "c:\\lcc|c:\\ktv||||off|gui|000000"},
        {"cwarn=1\r\ncwarn=3\r\ncwarn=yes\r\ncwarn=-1\r\ncwarn=0.1\r\ncwarn=\r\n",
         "c:\\lcc|c:\\ktv||||on|con|000100"},
        {"con=maybe\r\ncon=\r\ngui=1x\r\ndll=1..\r\n", kDefaults},
        {"con=False\r\ncon=+1\r\n", kDefaults},
        {"basicpath=c:\\a,b\\p.bas\r\nlibs=x.lib,y.lib\r\ncmd=-d=1, 3\r\n",
         "c:\\lcc|c:\\ktv|c:\\a,b\\p.bas|x.lib,y.lib|-d=1, 3|on|con|000000"},
        {"lccpath=d:\\lcc\nktvpath=d:\\ktv\rjfe=1", "d:\\lcc|d:\\ktv||||on|con|010000"}};
    for (const auto& [file, state] : cases) {
        SettingsWorld world;
        EXPECT_EQ(world.Load(file), state) << file;
        EXPECT_TRUE(world.fake.transcript.Entries().empty());
    }
    SettingsWorld empty;
    EXPECT_EQ(empty.Load(""), kDefaults);
    EXPECT_EQ(empty.fake.transcript.Entries(), Lines{"box[0|KTVDebugger]: EOF"});
}

// A program folder that cannot be written (a 64-bit install under Program
// Files) keeps the settings in the user's folder; that copy wins until a save
// beside the program works again, which removes it.
TEST(Settings, AProgramFolderThatCannotBeWrittenKeepsTheSettingsPerUser) {
    SettingsWorld world;
    world.fake.files.AddFolder("c:\\users\\me\\AppData\\Roaming");
    world.fake.files.AddFile(SettingsWorld::kBeside, "lccpath=d:\\old\r\n");
    world.fake.files.FailOn(fakes::FsOp::Write, SettingsWorld::kBeside);
    MainForm form;
    form.Txt_LccPath.SetText("e:\\new");
    SaveConfig(form, world.fake.platform, 0);
    EXPECT_TRUE(world.fake.transcript.Only({"box["}).empty());
    EXPECT_EQ(world.fake.files.Content(SettingsWorld::kBeside), "lccpath=d:\\old\r\n");
    MainForm loaded;
    LoadConfig(loaded, world.fake.platform, 0);
    EXPECT_EQ(loaded.Txt_LccPath.Text(), "e:\\new");

    form.Txt_LccPath.SetText("f:\\newer");
    SaveConfig(form, world.fake.platform, 0);
    EXPECT_FALSE(world.fake.files.FileExists(SettingsWorld::kPerUser));
    MainForm reloaded;
    LoadConfig(reloaded, world.fake.platform, 0);
    EXPECT_EQ(reloaded.Txt_LccPath.Text(), "f:\\newer");
}

TEST(Settings, OnlyWhenNeitherPlaceCanBeWrittenIsItReportedAndNothingThrows) {
    SettingsWorld world;
    world.fake.files.AddFile(SettingsWorld::kBeside, "lccpath=d:\\old\r\n");
    world.fake.files.FailOn(fakes::FsOp::Write, SettingsWorld::kBeside);
    MainForm form;
    EXPECT_NO_THROW(SaveConfig(form, world.fake.platform, 0));
    EXPECT_EQ(world.fake.transcript.Only({"box["}),
              Lines{"box[48|Error!]: Error: Could not save the settings to "
                    "c:\\KTVDebugger\\KTVDebug.cfg: Injected failure on "
                    "c:\\ktvdebugger\\ktvdebug.cfg\r\nnor to " +
                    std::string(SettingsWorld::kPerUser) +
                    ": Path not found: c:\\users\\me\\AppData\\Roaming\\KTV Debugger"});
    EXPECT_EQ(world.fake.files.Content(SettingsWorld::kBeside), "lccpath=d:\\old\r\n");
}

TEST(BrowseActions, PickersStartWhereTheFieldsSayAndAddEachLibraryOnce) {
    fakes::FakePlatform fake;
    MainForm form;
    form.Txt_LccPath.SetText("c:\\lcc\\");
    form.Txt_Libs.SetText("   ");
    fake.desktop.dialogAnswers = {
        std::nullopt,          "d:\\",  std::string(""),      "c:\\w\\prog.bas", std::nullopt,
        "c:\\lcc\\lib\\b.lib", "b.lib", "c:\\lcc\\lib\\B.lib"};
    BrowseLccDirectory(form, fake.desktop, 9);  // cancelled: the field keeps its text
    BrowseKtvDirectory(form, fake.desktop, 9);
    BrowseKtvDirectory(form, fake.desktop, 9);
    BrowseBasicFile(form, fake.desktop, 9);
    BrowseBasicFile(form, fake.desktop, 9);
    for (int i = 0; i < 3; ++i) {
        BrowseLibraries(form, fake.desktop, 9);
    }
    EXPECT_EQ(
        Describe(form),
        "c:\\lcc\\|d:\\|c:\\w\\prog.bas|c:\\lcc\\lib\\b.lib;c:\\lcc\\lib\\B.lib||on|con|000000");
    const Lines dialogs = fake.transcript.Entries();
    EXPECT_EQ(Lines(dialogs.begin(), dialogs.begin() + 5),
              (Lines{"folder-picker: Select LCC Directory", "folder-picker: Select KTV Directory",
                     "folder-picker: Select KTV Directory",
                     "open-file: Select KTV Basic File name=*.bas folder= "
                     "filters=KTV Basic File (*.bas)|*.bas",
                     "open-file: Select KTV Basic File name=*.bas folder=c:\\w "
                     "filters=KTV Basic File (*.bas)|*.bas"}));
    EXPECT_EQ(dialogs[5],
              "open-file: Select Libraries name=*.lib folder=c:\\lcc\\\\lib "
              "filters=Library Files (*.lib;*.obj)|*.lib;*.obj");
    fake.desktop.failDialogs = true;  // a failing dialog ends the action quietly
    EXPECT_NO_THROW(BrowseBasicFile(form, fake.desktop, 9));
    EXPECT_NO_THROW(BrowseLibraries(form, fake.desktop, 9));
    EXPECT_EQ(form.Txt_BasFile.Text(), "c:\\w\\prog.bas");
}

// The real window as the behaviour sees it; every call goes into the transcript.
class FakeView : public MainView {
public:
    explicit FakeView(fakes::Transcript& transcript) : transcript_(transcript) {}
    WindowRef Handle() const override { return 42; }
    WindowSize OuterSize() const override { return size; }
    void MoveTo(int left, int top) override {
        transcript_.Add("move " + std::to_string(left) + "," + std::to_string(top));
    }
    void ShowAboutBox() override {
        transcript_.Add("about");
        if (aboutFails) {
            throw Error("no template");
        }
    }
    void ShowProblems(std::unique_ptr<ProblemsList> shown) override {
        transcript_.Add("show-problems: " + shown->Title());
        list = std::move(shown);
    }
    void CloseProblems() override { transcript_.Add("close-problems"); }
    void EndProgram() override { transcript_.Add("end-program"); }
    std::unique_ptr<ProblemsList> list;
    WindowSize size{500, 400};
    bool aboutFails = false;

private:
    fakes::Transcript& transcript_;
};

struct LogicWorld : World {
    LogicWorld() : view(fake.transcript), logic(form, fake.platform, view) {
        form.Txt_BasFile.SetText("c:\\work\\prog.bas");
    }
    MainForm form;
    FakeView view;
    MainWindowLogic logic;
};

TEST(MainWindowLogic, LoadGuardsWordWrapLoadsCentresAndAppliesTheLinkModeInOrder) {
    const std::tuple<WindowSize, std::string> cases[] = {
        {{500, 400}, "move 390,312"}, {{501, 401}, "move 389,311"}, {{1400, 1100}, "move -60,-38"}};
    for (const auto& [size, move] : cases) {
        LogicWorld world;
        world.view.size = size;
        world.form.Opt_Gui.Click();
        world.form.Txt_Cmd.SetEnabled(true);  // the rule is seen to run
        world.form.Txt_Cmd.SetViewObserver([&] {
            world.fake.transcript.Add(world.form.Txt_Cmd.Enabled() ? "cmd on" : "cmd off");
        });
        world.form.Chk_Jen.SetViewObserver([&] { world.fake.transcript.Add("jfe box"); });
        world.logic.Form_Load();
        EXPECT_EQ(world.Calls(), (Lines{"registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0",
                                        "jfe box", move, "cmd off"}));
    }
}

TEST(MainWindowLogic, ExitAndCloseSaveThenEndEvenWhenTheSaveFails) {
    LogicWorld world;
    world.form.Cmd_Exit.Click();
    world.fake.files.FailOn(fakes::FsOp::Write);
    world.fake.files.FailOn(fakes::FsOp::CreateFolder);
    world.logic.Form_Unload();
    EXPECT_EQ(world.Only({"write-file", "end-program", "box["}).size(), 4u);
    EXPECT_EQ(world.fake.transcript.Entries().back(), "end-program");
}

TEST(MainWindowLogic, EachBrowseButtonFillsItsField) {
    LogicWorld world;
    world.fake.desktop.dialogAnswers = {"d:\\lcc", "d:\\ktv", "d:\\p.bas", "d:\\a.lib"};
    for (CommandButton* browse :
         {&world.form.Command2, &world.form.Command4, &world.form.Command3, &world.form.Command5}) {
        browse->Click();
    }
    EXPECT_EQ(Describe(world.form), "d:\\lcc|d:\\ktv|d:\\p.bas|d:\\a.lib||on|con|000000");
}

TEST(MainWindowLogic, AboutFailuresAreReportedAndDebugRunsWithTheFormsOptions) {
    LogicWorld world;
    world.view.aboutFails = true;
    world.form.Command6.Click();
    EXPECT_EQ(world.Boxes(), Lines{"48|Error!|Error: Could not show the About box: no template"});
    world.form.Chk_Run.Click();
    world.form.Txt_LccPath.SetText("c:\\lcc\\");
    // The window is locked until the source is clean; at the box every choice still is.
    std::string locked;
    world.form.Window.SetViewObserver([&] { locked += world.form.Window.Enabled() ? "+" : "-"; });
    world.fake.desktop.onMessageBox = [&](const std::string&) {
        for (const Control* control : world.form.Controls()) {
            locked += control->Enabled() ? "1" : "0";
        }
    };
    world.form.Command1.Click();
    EXPECT_EQ(locked, "-+101010101000000000000");
    EXPECT_EQ(world.form.Txt_LccPath.Text(), "c:\\lcc");  // shown as normalised
    EXPECT_EQ(world.logic.Run().baseName, "prog");
    EXPECT_EQ(world.Only({"start["}),
              Lines{"start[1]: C:\\windows\\system32\\cmd.exe /k prog.exe "});
    for (const Control* control : world.form.Controls()) {
        EXPECT_TRUE(control->Enabled()) << control->Id();
    }
    EXPECT_TRUE(world.form.Window.Enabled());
}

// A Debug that ends on several problems lists them in a window of their own,
// closed at the next Debug; its rows read, copy and open as the run left them.
TEST(MainWindowLogic, SeveralProblemsAreListedUntilTheNextDebug) {
    LogicWorld world;
    world.form.Chk_Note.Click();
    world.compilerLines = {"error prog.c: 4  bad x", "lcc: note", "warning prog.c: 99 far y"};
    world.form.Command1.Click();
    ASSERT_NE(world.view.list, nullptr);
    ProblemsList& list = *world.view.list;
    EXPECT_EQ(world.Only({"close-problems", "show-problems"}),
              (Lines{"close-problems", "show-problems: Problems - prog.bas"}));
    EXPECT_EQ(list.Count(), 2u);
    Lines cells;
    for (std::size_t row : {0u, 1u, 2u}) {
        for (ProblemColumn column : {ProblemColumn::Kind, ProblemColumn::BasicLine,
                                     ProblemColumn::Message, ProblemColumn::CLine}) {
            cells.push_back(list.Cell(row, column));
        }
    }
    EXPECT_EQ(cells, (Lines{"C error", "2", "bad x", "4", "C warning", "", "far y", "99", "", "",
                            "", ""}));
    EXPECT_EQ(list.CopyText({1, 0}),
              "c:\\work\\prog.c:99: warning: far y\r\nc:\\work\\prog.bas:2: error: bad x\r\n");

    world.form.Chk_Note.Click();  // the list keeps the run's editor
    world.form.Txt_BasFile.SetText("c:\\other\\x.bas");
    const std::size_t before = world.fake.transcript.Entries().size();
    list.Open(1);  // no Basic line: nothing
    EXPECT_EQ(world.fake.transcript.Entries().size(), before);
    list.Open(0);
    const Lines after(world.fake.transcript.Entries().begin() + before,
                      world.fake.transcript.Entries().end());
    EXPECT_EQ(after[0], "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas");
    EXPECT_EQ(after.back(), "keys: +{END}");
    world.fake.processes.failing = {"notepad"};
    list.Open(0);
    EXPECT_EQ(world.Boxes().back(),
              "48|Error!|Error: Could not open the editor: Cannot start "
              "C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas");
    world.form.Txt_BasFile.SetText("c:\\work\\prog.bas");
    world.translatorError = "bad 2\r\nworse";
    world.form.Command1.Click();
    EXPECT_EQ(world.Only({"close-problems"}).size(), 2u);
    EXPECT_EQ(world.view.list->Cell(1, ProblemColumn::Kind) + "|" +
                  world.view.list->Cell(1, ProblemColumn::CLine),
              "Basic error|");
}

// Text sizes as a 9-point system font measures them at 96 DPI, scaled.
MainWindowMetrics MetricsAt(int dpi, int textScalePercent) {
    const auto px = [&](int length) { return ScaleForDpi(length * textScalePercent / 100, dpi); };
    return MainWindowMetrics{dpi,     px(15),  px(25),  ScaleForDpi(13, dpi),
                             px(214), px(84),  px(150), px(196),
                             px(38),  px(20),  px(44),  px(20),
                             px(128), px(230), px(206), px(220),
                             px(112), px(124)};
}

TEST(MainWindowLayout, EverythingFitsInReadingOrderAtAnyDpiAndFont) {
    for (const auto& [dpi, scale] :
         {std::pair{96, 100}, std::pair{144, 100}, std::pair{192, 130}, std::pair{120, 85}}) {
        SCOPED_TRACE(dpi * 1000 + scale);
        const MainWindowLayout layout = LayOutMainWindow(MetricsAt(dpi, scale));
        for (const PlacedControl& placed : layout.controls) {
            EXPECT_TRUE(placed.rect.x >= 0 && placed.rect.y >= 0 && placed.rect.width > 0 &&
                        placed.rect.Right() <= layout.clientWidth &&
                        placed.rect.Bottom() <= layout.clientHeight)
                << placed.id;
            for (const PlacedControl& other : layout.controls) {
                const LayoutRect& a = placed.rect;
                const LayoutRect& b = other.rect;
                EXPECT_FALSE(&placed != &other && a.x < b.Right() && b.x < a.Right() &&
                             a.y < b.Bottom() && b.y < a.Bottom())
                    << placed.id << " and " << other.id;
            }
        }
        const auto at = [&](int id) { return layout.Find(id).value_or(LayoutRect{}); };
        const int rows[] = {ids::kLabelSubtitle, ids::kTxtLccPath, ids::kTxtKtvPath,
                            ids::kTxtBasFile,    ids::kTxtLibs,    ids::kLabelHint,
                            ids::kTxtCmd,        ids::kOptGui,     ids::kChkNote,
                            ids::kChkCon,        ids::kChkRun,     ids::kRule,
                            ids::kCmdExit};
        for (std::size_t i = 1; i < std::size(rows); ++i) {
            EXPECT_LE(at(rows[i - 1]).Bottom(), at(rows[i]).y) << rows[i];
        }
        EXPECT_GE(at(ids::kChkNote).width, MetricsAt(dpi, scale).noteWidth);
        EXPECT_EQ(at(ids::kChkCon).x, at(ids::kChkJen).x);
        EXPECT_LT(at(ids::kCommand6About).Right(), at(ids::kCommand1Debug).x);
    }
    EXPECT_EQ(ScaleForDpi(12, 144), 18);
}

}  // namespace
}  // namespace ktv::testing
