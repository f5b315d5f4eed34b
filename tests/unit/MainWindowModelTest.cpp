// The main window's model: the rules between its controls, the settings file,
// the browse buttons, its start and end, and where its controls go.

#include "World.h"
#include "model/ControlIds.h"
#include "model/MainWindowLayout.h"
#include "model/MainWindowController.h"
#include "model/ProblemsWindowModel.h"
#include "model/Settings.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

using enum CheckState;

// Every control's value in one line: the five texts, whether the command line
// takes input, the link mode, then the seven boxes (Notepad, JFE, ConTEXT,
// warnings, run, Wedit, my editor).
std::string Describe(const MainWindowModel& model) {
    const DebugOptions o = model.Options();
    const char* link = !o.linkMode                    ? "none"
                       : *o.linkMode == LinkMode::Gui ? "gui"
                       : *o.linkMode == LinkMode::Dll ? "dll"
                                                      : "con";
    std::string text = o.lccPath + "|" + o.ktvPath + "|" + o.basicFile + "|" + o.libraries + "|" +
                       o.commandLine + (model.commandLineField.Enabled() ? "|on|" : "|off|") +
                       link + "|";
    for (const CheckBox* box :
         {&model.launchNotepadBox, &model.launchJfeBox, &model.launchConTextBox,
          &model.checkWarningsBox, &model.runProgramBox, &model.debugInWeditBox,
          &model.launchMyEditorBox}) {
        text += std::to_string(static_cast<int>(box->State()));
    }
    return text;
}

constexpr const char* kDefaults = "c:\\lcc|c:\\ktv||||on|con|0000000";

TEST(MainWindowModel, StartsWithTheDesignDefaultsAndKeepsItsRules) {
    MainWindowModel model;
    EXPECT_EQ(Describe(model), kDefaults);
    model.launchConTextBox.SetState(Checked);
    model.launchNotepadBox.SetState(Grayed);  // grayed counts as off and clears nothing
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|2010000");
    model.launchJfeBox.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|0100000");
    EXPECT_EQ(model.Options().editor, EditorChoice::JFE);
    model.launchNotepadBox.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|1000000");
    model.launchJfeBox.Click();
    model.launchConTextBox.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|0010000");
    EXPECT_EQ(model.Options().editor, EditorChoice::ConTEXT);
    model.runProgramBox.Click();
    model.debugInWeditBox.Click();
    model.checkWarningsBox.Click();  // takes part in no rule
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|0011010");
    EXPECT_TRUE(model.Options().debugInWedit);
    model.runProgramBox.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|0011100");
    model.launchConTextBox.Click();
    EXPECT_EQ(model.Options().editor, EditorChoice::None);
    model.launchMyEditorBox.Click();
    EXPECT_EQ(model.Options().editor, EditorChoice::MyEditor);
    model.launchNotepadBox.Click();  // my editor is one of the four
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|1001100");
    model.launchMyEditorBox.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv||||on|con|0001101");
}

TEST(MainWindowModel, TheCommandLineFollowsTheLinkModeAndKeepsItsText) {
    MainWindowModel model;
    model.commandLineField.SetText("-v");
    model.guiOption.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv|||-v|off|gui|0000000");
    model.consoleOption.Click();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv|||-v|on|con|0000000");
    model.consoleOption.SetSelected(false);  // no selection: the field keeps its state
    model.ApplyCommandLineRule();
    EXPECT_EQ(Describe(model), "c:\\lcc|c:\\ktv|||-v|on|none|0000000");
    int heard = 0;
    model.commandLineField.SetViewObserver([&] { ++heard; });
    model.commandLineField.TakeTextFromView("typed");  // the view's own change is not echoed
    model.commandLineField.SetText("set");
    EXPECT_EQ(heard, 1);
}

// A settings world: the program's folder c:\KTVDebugger, the user's folder.
struct SettingsWorld {
    SettingsWorld() { fake.files.AddFolder("c:\\KTVDebugger"); }
    std::string Load(const std::string& file) {
        fake.files.AddFile(kBeside, file);
        MainWindowModel model;
        LoadConfig(model, fake.platform, 0);
        return Describe(model);
    }
    static constexpr const char* kBeside = "c:\\KTVDebugger\\KTVDebug.cfg";
    static constexpr const char* kPerUser =
        "c:\\users\\me\\AppData\\Roaming\\KTV Debugger\\KTVDebug.cfg";
    fakes::FakePlatform fake;
};

// A first start gets JFE; every setting then survives a restart, trimmed,
// in the fourteen lines the file has always had, then my editor's two.
TEST(Settings, AFirstStartLoadsJfeAndEverySettingSurvivesARestartTrimmed) {
    SettingsWorld world;
    MainWindowModel first;
    LoadConfig(first, world.fake.platform, 0);
    EXPECT_EQ(Describe(first), "c:\\lcc|c:\\ktv||||on|con|0100000");
    first.lccDirectoryField.SetText("  d:\\tools\\lcc  ");
    first.basicFileField.SetText("c:\\my work,old\\prog.bas");
    first.librariesField.SetText(" a.lib;b.lib ");
    first.commandLineField.SetText("-in \"x, y\" -v=2");
    first.launchConTextBox.Click();
    first.checkWarningsBox.Click();
    first.debugInWeditBox.SetState(Grayed);
    first.guiOption.Click();
    first.editorCommandField.SetText(" \"c:\\np\\np.exe\" -n{line} \"{file}\" ");
    SaveConfig(first, world.fake.platform, 0);
    EXPECT_EQ(world.fake.files.Content(SettingsWorld::kBeside),
              "lccpath=d:\\tools\\lcc\r\nktvpath=c:\\ktv\r\nbasicpath=c:\\my work,old\\prog.bas\r\n"
              "jfe=0\r\nccon=1\r\nnotepad=0\r\nlibs=a.lib;b.lib\r\ngui=True\r\ndll=False\r\n"
              "con=False\r\ncmd=-in \"x, y\" -v=2\r\ncwarn=1\r\nrun=0\r\nlccdeb=2\r\nmyeditor=0\r\n"
              "editorcommand=\"c:\\np\\np.exe\" -n{line} \"{file}\"\r\n");
    EXPECT_EQ(world.fake.transcript.Entries(), Lines{"write-file: c:\\KTVDebugger\\KTVDebug.cfg"});
    MainWindowModel second;
    LoadConfig(second, world.fake.platform, 0);
    EXPECT_EQ(Describe(second),
              "d:\\tools\\lcc|c:\\ktv|c:\\my work,old\\prog.bas|a.lib;b.lib|-in \"x, y\" "
              "-v=2|off|gui|0011020");
    EXPECT_EQ(second.editorCommandField.Text(), "\"c:\\np\\np.exe\" -n{line} \"{file}\"");
}

TEST(Settings, LoadingTriesEveryRecordAgainstTheKeysInOrder) {
    const std::pair<std::string, std::string> cases[] = {
        {"lccpath=d:\\lcc\r\n", "d:\\lcc|c:\\ktv||||on|con|0000000"},  // the JFE box stays off
        {"LCCPATH=d:\\lcc\r\nJfe=1\r\nCon=False\r\n", kDefaults},
        {"lccpathX=d:\\y\r\nrunning = 1\r\n", "d:\\y|c:\\ktv||||on|con|0000100"},
        {"  ktvpath =   e:\\ktv  \r\ncmd=  a b  \r\n", "c:\\lcc|e:\\ktv|||a b|on|con|0000000"},
        {"lccpath\r\nlibs\r\n", kDefaults},
        {"jfe=1\r\nccon=1\r\nnotepad=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0100000"},
        {"jfe=0\r\nccon=1\r\nnotepad=1\r\n", "c:\\lcc|c:\\ktv||||on|con|1000000"},
        {"notepad=1\r\njfe=1\r\nccon=1\r\n", "c:\\lcc|c:\\ktv||||on|con|1000000"},
        {"run=1\r\nlccdeb=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0000100"},
        {"lccdeb=1\r\nrun=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0000100"},
        {"jfe=2\r\nnotepad=1\r\nrun=2\r\nlccdeb=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0200200"},
        {"gui=True\r\ndll=False\r\ncon=False\r\n", "c:\\lcc|c:\\ktv||||off|gui|0000000"},
        {"gui=False\r\ndll=False\r\ncon=False\r\n", "c:\\lcc|c:\\ktv||||on|none|0000000"},
        {"dll=-1\r\ngui=0\r\n", "c:\\lcc|c:\\ktv||||off|dll|0000000"},
        {"gui=true\r\n", "c:\\lcc|c:\\ktv||||off|gui|0000000"},
        {"cwarn=1\r\ncwarn=3\r\ncwarn=yes\r\ncwarn=-1\r\ncwarn=0.1\r\ncwarn=\r\n",
         "c:\\lcc|c:\\ktv||||on|con|0001000"},
        {"con=maybe\r\ncon=\r\ngui=1x\r\ndll=1..\r\n", kDefaults},
        {"con=False\r\ncon=+1\r\n", kDefaults},
        {"basicpath=c:\\a,b\\p.bas\r\nlibs=x.lib,y.lib\r\ncmd=-d=1, 3\r\n",
         "c:\\lcc|c:\\ktv|c:\\a,b\\p.bas|x.lib,y.lib|-d=1, 3|on|con|0000000"},
        {"lccpath=d:\\lcc\nktvpath=d:\\ktv\rjfe=1", "d:\\lcc|d:\\ktv||||on|con|0100000"},
        // my editor's line comes after the fourteen, as one more editor box
        {"jfe=0\r\nccon=0\r\nnotepad=0\r\nmyeditor=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0000001"},
        {"jfe=1\r\nmyeditor=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0100000"},
        {"ccon=2\r\nmyeditor=1\r\n", "c:\\lcc|c:\\ktv||||on|con|0020000"},
        {"myeditor=1\r\nnotepad=1\r\n", "c:\\lcc|c:\\ktv||||on|con|1000000"}};
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
    MainWindowModel model;
    model.lccDirectoryField.SetText("e:\\new");
    SaveConfig(model, world.fake.platform, 0);
    EXPECT_TRUE(world.fake.transcript.Only({"box["}).empty());
    EXPECT_EQ(world.fake.files.Content(SettingsWorld::kBeside), "lccpath=d:\\old\r\n");
    MainWindowModel loaded;
    LoadConfig(loaded, world.fake.platform, 0);
    EXPECT_EQ(loaded.lccDirectoryField.Text(), "e:\\new");

    model.lccDirectoryField.SetText("f:\\newer");
    SaveConfig(model, world.fake.platform, 0);
    EXPECT_FALSE(world.fake.files.FileExists(SettingsWorld::kPerUser));
    MainWindowModel reloaded;
    LoadConfig(reloaded, world.fake.platform, 0);
    EXPECT_EQ(reloaded.lccDirectoryField.Text(), "f:\\newer");
}

// The real window as the behaviour sees it; every call goes into the transcript.
class FakeView : public MainWindowView {
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
    void ShowProblems(std::unique_ptr<ProblemsWindowModel> shown) override {
        transcript_.Add("show-problems: " + shown->Title());
        list = std::move(shown);
    }
    void CloseProblems() override { transcript_.Add("close-problems"); }
    void EndProgram() override { transcript_.Add("end-program"); }
    std::unique_ptr<ProblemsWindowModel> list;
    WindowSize size{500, 400};
    bool aboutFails = false;

private:
    fakes::Transcript& transcript_;
};

struct ControllerWorld : World {
    ControllerWorld() : view(fake.transcript), controller(model, fake.platform, view) {
        model.basicFileField.SetText("c:\\work\\prog.bas");
    }
    MainWindowModel model;
    FakeView view;
    MainWindowController controller;
};

TEST(MainWindowController, LoadGuardsWordWrapLoadsCentresAndAppliesTheLinkModeInOrder) {
    const std::tuple<WindowSize, std::string> cases[] = {
        {{500, 400}, "move 390,312"}, {{501, 401}, "move 389,311"}, {{1400, 1100}, "move -60,-38"}};
    for (const auto& [size, move] : cases) {
        ControllerWorld world;
        world.view.size = size;
        world.model.guiOption.Click();
        world.model.commandLineField.SetEnabled(true);  // the rule is seen to run
        world.model.commandLineField.SetViewObserver([&] {
            world.fake.transcript.Add(world.model.commandLineField.Enabled() ? "cmd on"
                                                                             : "cmd off");
        });
        world.model.launchJfeBox.SetViewObserver([&] { world.fake.transcript.Add("jfe box"); });
        world.controller.OnLoad();
        EXPECT_EQ(world.Calls(), (Lines{"registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0",
                                        "jfe box", move, "cmd off"}));
    }
}

TEST(MainWindowController, ExitAndCloseSaveThenEndEvenWhenTheSaveFails) {
    ControllerWorld world;
    world.model.exitButton.Click();
    world.fake.files.FailOn(fakes::FsOp::Write);
    world.fake.files.FailOn(fakes::FsOp::CreateFolder);
    world.controller.OnUnload();
    Lines calls = world.Only({"write-file", "end-program", "box["});
    for (std::string& call : calls) {
        call = call.substr(0, 45);
    }
    const std::string refused = "box[48|Error!]: Error: Could not save the set";
    EXPECT_EQ(calls, (Lines{refused, "end-program", refused, "end-program"}));
}

// Each "..." opens its picker where its field points and fills the field; a
// cancelled or failing picker leaves it, and a library listed already is not
// added again. An editor picked gets its line option; a command without
// {file} is refused once, when the user leaves the field.
TEST(MainWindowController, EachBrowseButtonFillsItsFieldAndAnEditorCommandIsChecked) {
    ControllerWorld world;
    MainWindowModel& model = world.model;
    model.lccDirectoryField.SetText("c:\\lcc\\");
    model.basicFileField.SetText("");
    model.librariesField.SetText("   ");
    world.fake.desktop.dialogAnswers = {
        std::nullopt,          "d:\\",  std::string(""),       "c:\\w\\prog.bas",     std::nullopt,
        "c:\\lcc\\lib\\b.lib", "b.lib", "c:\\lcc\\lib\\B.lib", "d:\\np\\Notepad3.exe"};
    for (CommandButton* browse :
         {&model.browseLccButton, &model.browseKtvButton, &model.browseKtvButton,
          &model.browseBasicFileButton, &model.browseBasicFileButton, &model.browseLibrariesButton,
          &model.browseLibrariesButton, &model.browseLibrariesButton, &model.browseEditorButton}) {
        browse->Click();
    }
    EXPECT_EQ(
        Describe(model),
        "c:\\lcc\\|d:\\|c:\\w\\prog.bas|c:\\lcc\\lib\\b.lib;c:\\lcc\\lib\\B.lib||on|con|0000000");
    EXPECT_EQ(model.editorCommandField.Text(), "\"d:\\np\\Notepad3.exe\" /g {line} \"{file}\"");
    const Lines dialogs = world.Only({"folder-picker", "open-file"});
    EXPECT_EQ(Lines(dialogs.begin(), dialogs.begin() + 6),
              (Lines{"folder-picker: Select LCC Directory", "folder-picker: Select KTV Directory",
                     "folder-picker: Select KTV Directory",
                     "open-file: Select KTV Basic File name=*.bas folder= "
                     "filters=KTV Basic File (*.bas)|*.bas",
                     "open-file: Select KTV Basic File name=*.bas folder=c:\\w "
                     "filters=KTV Basic File (*.bas)|*.bas",
                     "open-file: Select Libraries name=*.lib folder=c:\\lcc\\\\lib "
                     "filters=Library Files (*.lib;*.obj)|*.lib;*.obj"}));
    world.fake.desktop.failDialogs = true;
    model.browseBasicFileButton.Click();
    model.browseLibrariesButton.Click();
    EXPECT_EQ(model.basicFileField.Text(), "c:\\w\\prog.bas");

    model.editorCommandField.Commit();
    model.editorCommandField.SetText("np.exe -n{line}");
    model.editorCommandField.Commit();
    model.editorCommandField.Commit();
    ASSERT_EQ(world.Boxes().size(), 1u);
    EXPECT_TRUE(
        world.Boxes()[0].starts_with("48|Error!|Error: The command for your editor has no"));
}

TEST(MainWindowController, AboutFailuresAreReportedAndDebugRunsWithTheModelsOptions) {
    ControllerWorld world;
    world.view.aboutFails = true;
    world.model.aboutButton.Click();
    EXPECT_EQ(world.Boxes(), Lines{"48|Error!|Error: Could not show the About box: no template"});
    world.model.runProgramBox.Click();
    world.model.lccDirectoryField.SetText("c:\\lcc\\");
    // The window is locked until the source is clean; at the box every choice
    // still is, but for Debug, which reads Stop.
    std::string locked;
    world.model.window.SetViewObserver([&] { locked += world.model.window.Enabled() ? "+" : "-"; });
    world.fake.desktop.onMessageBox = [&](const std::string&) {
        for (const Control* control : world.model.Controls()) {
            locked += control->Enabled() ? "1" : "0";
        }
        locked += world.model.debugButton.Caption();
    };
    world.model.debugButton.Click();
    EXPECT_EQ(locked, "-+101010101000000001000001Stop");
    EXPECT_EQ(world.model.debugButton.Caption(), "Debug");
    EXPECT_EQ(world.model.lccDirectoryField.Text(), "c:\\lcc");  // shown as normalised
    EXPECT_EQ(world.controller.Names().baseName, "prog");
    EXPECT_EQ(world.Only({"start["}),
              Lines{"start[1]: C:\\windows\\system32\\cmd.exe /k prog.exe "});
    for (const Control* control : world.model.Controls()) {
        EXPECT_TRUE(control->Enabled()) << control->Id();
    }
    EXPECT_TRUE(world.model.window.Enabled());
}

// During a run Debug reads "Stop": a press, Esc or closing the window stops
// the run (closing then saves and ends once the run has finished); a press
// as the run gives the window back starts the next one. The status line
// follows the run throughout.
TEST(MainWindowController, DuringARunDebugStopsItAndTheStatusLineFollowsIt) {
    using Act = std::function<void(ControllerWorld&)>;
    const std::tuple<const char*, Act, std::size_t, std::string, Lines> cases[] = {
        // what the user does while the translator runs, tools run, status, end
        {"nothing", [](ControllerWorld&) {}, 5, "Built c:\\work\\prog.exe in 2.5 s", {}},
        {"Stop",
         [](ControllerWorld& w) { w.model.debugButton.Click(); },
         1,
         "The Debug run was stopped.",
         {}},
        {"Esc",
         [](ControllerWorld& w) { w.model.escapeKey.Click(); },
         1,
         "The Debug run was stopped.",
         {}},
        {"close",
         [](ControllerWorld& w) { w.model.closeWindow.Click(); },
         1,
         "The Debug run was stopped.",
         {"delete-file: c:\\work\\prog.obj", "write-file: c:\\KTVDebugger\\KTVDebug.cfg",
          "end-program"}},
        {"Debug as the run ends",
         [](ControllerWorld& w) {
             w.model.debugButton.SetViewObserver([&w] {
                 if (w.model.debugButton.Caption() == "Debug" && w.ToolsRun().size() == 5) {
                     w.model.debugButton.Click();  // once: the next run goes on to 10 tools
                 }
             });
         },
         10, "Built c:\\work\\prog.exe in 2.5 s", Lines(2, "delete-file: c:\\work\\prog.obj")}};
    for (const auto& [what, act, tools, status, end] : cases) {
        SCOPED_TRACE(what);
        ControllerWorld world;
        world.fake.files.AddFile("c:\\work\\prog.obj", "from an earlier run");
        world.fake.files.AddFolder("c:\\KTVDebugger");
        std::string during;
        const auto run = world.fake.processes.onRun;
        world.fake.processes.onRun = [&, act = act](const std::string& commandLine) {
            run(commandLine);
            if (commandLine.find("ktvc") != std::string::npos && during.empty()) {
                during = world.model.statusLine.Text() + "|" + world.model.debugButton.Caption();
                act(world);
            }
        };
        EXPECT_EQ(world.model.statusLine.Text(), "Ready");
        world.model.debugButton.Click();
        EXPECT_EQ(during, "Translating prog.bas|Stop");
        EXPECT_EQ(world.ToolsRun().size(), tools);
        EXPECT_EQ(world.model.statusLine.Text(), status);
        EXPECT_FALSE(world.model.statusLine.UnderWay());
        EXPECT_EQ(world.model.debugButton.Caption(), "Debug");
        EXPECT_EQ(
            world.Only({"delete-file: c:\\work\\prog.obj", "write-file: c:\\KTV", "end-program"}),
            end.empty() ? Lines{"delete-file: c:\\work\\prog.obj"} : end);
    }
}

// A Debug that ends on several problems lists them in a window of their own,
// closed at the next Debug; its rows read, copy and open as the run left them.
TEST(MainWindowController, SeveralProblemsAreListedUntilTheNextDebug) {
    ControllerWorld world;
    world.model.launchNotepadBox.Click();
    world.compilerLines = {"error prog.c: 4  bad x", "lcc: note", "warning prog.c: 99 far y"};
    world.model.debugButton.Click();
    ASSERT_NE(world.view.list, nullptr);
    ProblemsWindowModel& list = *world.view.list;
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

    world.model.launchNotepadBox.Click();  // the list keeps the run's editor
    world.model.basicFileField.SetText("c:\\other\\x.bas");
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
              "48|Error!|Error: Could not start Notepad: Cannot start "
              "C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas");
    world.model.basicFileField.SetText("c:\\work\\prog.bas");
    world.translatorError = "bad 2\r\nworse";
    world.model.debugButton.Click();
    EXPECT_EQ(world.Only({"close-problems"}).size(), 2u);
    EXPECT_EQ(world.view.list->Cell(1, ProblemColumn::Kind) + "|" +
                  world.view.list->Cell(1, ProblemColumn::CLine),
              "Basic error|");

    // The user's own editor opens a row without a Basic line in the C file, at
    // its line; and it leaves Notepad's word-wrap value alone.
    world.model.launchMyEditorBox.Click();
    world.model.editorCommandField.SetText("ed.exe {file} {line}");
    world.translatorError.clear();
    const std::size_t wrapWrites = world.Only({"registry"}).size();
    world.model.debugButton.Click();
    EXPECT_EQ(world.Only({"registry"}).size(), wrapWrites);
    world.view.list->Open(1);
    EXPECT_EQ(world.Only({"start["}).back(), "start[1]: ed.exe c:\\work\\prog.c 99");
}

// Text sizes as a 9-point system font measures them at 96 DPI, scaled.
MainWindowMetrics MetricsAt(int dpi, int textScalePercent) {
    const auto px = [&](int length) { return ScaleForDpi(length * textScalePercent / 100, dpi); };
    return MainWindowMetrics{dpi,     px(15),  px(25),  ScaleForDpi(13, dpi),
                             px(214), px(84),  px(150), px(196),
                             px(38),  px(20),  px(44),  px(20),
                             px(128), px(230), px(236), px(206),
                             px(220), px(112), px(124)};
}

// Under the list, the code beside the selected problem: the Basic lines
// around the one it leads back to and the C lines around the reported one,
// another file's own lines, and a word when a file has changed since the run
// or cannot be read.
TEST(ProblemsWindowModel, ThePaneShowsTheCodeBesideEachProblem) {
    ControllerWorld world;
    world.compilerLines = {"error prog.c: 4  bad x", "warning prog.c: 99 far y",
                           "Error c:\\lcc\\include\\win.h: 2  redeclared"};
    world.fake.files.AddFile("c:\\lcc\\include\\win.h", "one\r\ntwo\r\nthree\r\n");
    world.model.debugButton.Click();
    ASSERT_NE(world.view.list, nullptr);
    ProblemsWindowModel& list = *world.view.list;
    const std::string mapped =
        "prog.bas, line 2\r\n  1  $SOURCE\r\n> 2  PRINT 2\r\n  3  PRINT 3\r\n  4  PRINT 4\r\n\r\n"
        "prog.c, line 4\r\n  1  #include <stdio.h>\r\n  2  // [1]\r\n  3      /* $SOURCE */\r\n"
        "> 4  // [2]\r\n  5      /* PRINT 2 */\r\n  6  // [3]\r\n  7      /* PRINT 3 */\r\n";
    EXPECT_EQ(list.CodeBeside(0), mapped);
    EXPECT_EQ(list.CodeBeside(1), "prog.c, line 99\r\nprog.c has no line 99.\r\n");
    EXPECT_EQ(list.CodeBeside(2), "win.h, line 2\r\n  1  one\r\n> 2  two\r\n  3  three\r\n");
    EXPECT_EQ(list.CodeBeside(3), "");
    EXPECT_EQ(LinesAround("one\r\n", 2147483647, 3), "");  // no overflow past the last int

    world.fake.files.WriteFile("c:\\work\\prog.c", "changed\r\n");
    world.fake.files.DeleteFile("c:\\lcc\\include\\win.h");
    EXPECT_EQ(list.CodeBeside(1),
              "prog.c, line 99\r\nprog.c has changed since the run: its lines "
              "now.\r\nprog.c has no line 99.\r\n");
    EXPECT_TRUE(list.CodeBeside(2).starts_with("win.h, line 2\r\nwin.h cannot be read: "));
}

TEST(MainWindowLayout, EverythingFitsAlignsAndReadsInOrderAtAnyDpiAndFont) {
    using namespace ids;
    for (const auto& [dpi, scale] :
         {std::pair{96, 100}, std::pair{144, 100}, std::pair{192, 130}, std::pair{120, 85}}) {
        SCOPED_TRACE(dpi * 1000 + scale);
        const MainWindowMetrics m = MetricsAt(dpi, scale);
        const MainWindowLayout layout = LayOutMainWindow(m);
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
        const MainWindowModel model;
        for (const Control* control : model.Controls()) {
            EXPECT_TRUE(layout.Find(control->Id()).has_value()) << control->Id();
        }
        const auto at = [&](int id) { return layout.Find(id).value_or(LayoutRect{-1, -1}); };
        const auto level = [&](int a, int b) {  // centred on one line, give or take rounding
            return std::abs(at(a).y * 2 + at(a).height - at(b).y * 2 - at(b).height) <= 1;
        };
        // Top to bottom; each row's caption level with what it names, and
        // every choice wide enough for its box and text.
        const std::pair<int, int> rows[] = {{kTitleLabel, kTitleLabel},
                                            {kSubtitleLabel, kSubtitleLabel},
                                            {kLccDirectoryLabel, kLccDirectoryField},
                                            {kKtvDirectoryLabel, kKtvDirectoryField},
                                            {kBasicFileLabel, kBasicFileField},
                                            {kLibrariesLabel, kLibrariesField},
                                            {kLibrariesHint, kLibrariesHint},
                                            {kCommandLineLabel, kCommandLineField},
                                            {kCompileAsLabel, kGuiOption},
                                            {kOnErrorLabel, kLaunchNotepadBox},
                                            {kLaunchConTextBox, kLaunchMyEditorBox},
                                            {kEditorCommandLabel, kEditorCommandField},
                                            {kOnSuccessLabel, kRunProgramBox},
                                            {kRule, kRule},
                                            {kExitButton, kDebugButton}};
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            EXPECT_TRUE(level(rows[i].first, rows[i].second)) << rows[i].first;
            EXPECT_TRUE(i == 0 || at(rows[i - 1].second).Bottom() <= at(rows[i].first).y)
                << rows[i].first;
        }
        EXPECT_TRUE(level(kLaunchNotepadBox, kLaunchJfeBox) && level(kGuiOption, kDllOption) &&
                    level(kConsoleOption, kCheckWarningsBox) &&
                    level(kRunProgramBox, kDebugInWeditBox) && level(kAboutButton, kDebugButton));
        const std::pair<int, int> choices[] = {{kGuiOption, m.guiWidth},
                                               {kConsoleOption, m.consoleWidth},
                                               {kDllOption, m.dllWidth},
                                               {kCheckWarningsBox, m.warningsWidth},
                                               {kLaunchNotepadBox, m.notepadWidth},
                                               {kLaunchJfeBox, m.jfeWidth},
                                               {kLaunchMyEditorBox, m.myEditorWidth},
                                               {kLaunchConTextBox, m.conTextWidth},
                                               {kRunProgramBox, m.runProgramWidth},
                                               {kDebugInWeditBox, m.weditWidth}};
        for (const auto& [id, textWidth] : choices) {
            EXPECT_GE(at(id).width, m.checkGlyphWidth + textWidth) << id;
            EXPECT_EQ(at(id).height, at(kGuiOption).height) << id;
        }
        // The second column and the right-hand buttons line up; the margins match.
        const int margin = at(kLccDirectoryLabel).x;
        for (int id : {kLaunchJfeBox, kLaunchConTextBox, kDebugInWeditBox}) {
            EXPECT_EQ(at(id).x, at(kCheckWarningsBox).x) << id;
        }
        for (const auto& [field, browse] : {std::pair{kLccDirectoryField, kBrowseLccButton},
                                            {kKtvDirectoryField, kBrowseKtvButton},
                                            {kBasicFileField, kBrowseBasicFileButton},
                                            {kLibrariesField, kBrowseLibrariesButton},
                                            {kEditorCommandField, kBrowseEditorButton}}) {
            EXPECT_TRUE(at(field).y == at(browse).y && at(field).height == at(browse).height &&
                        at(browse).Right() == layout.clientWidth - margin &&
                        at(field).x == at(kCommandLineField).x)
                << browse;
        }
        EXPECT_EQ(at(kExitButton).x, margin);
        EXPECT_EQ(at(kDebugButton).Right(), layout.clientWidth - margin);
        EXPECT_EQ(at(kLibrariesHint).Right(), at(kLibrariesField).Right());
        EXPECT_LT(at(kExitButton).Right(), at(kAboutButton).x);
        EXPECT_LT(at(kAboutButton).Right(), at(kDebugButton).x);
        EXPECT_EQ(at(kStatusBar).y - at(kExitButton).Bottom(),
                  at(kExitButton).y - layout.footerTop);
        EXPECT_EQ(at(kStatusBar), (LayoutRect{0, at(kStatusBar).y, layout.clientWidth,
                                              layout.clientHeight - at(kStatusBar).y}));
        EXPECT_GT(at(kStatusBar).height, m.textHeight);
        EXPECT_TRUE(at(kSubtitleLabel).Bottom() <= layout.banner.Bottom() &&
                    layout.banner.Bottom() < at(kLccDirectoryField).y);
    }
}

}  // namespace
}  // namespace ktv::testing
