// One press of Debug through the fakes: the order of the steps, what each
// failure tells the user, the link's command line and the window given back.

#include <functional>

#include "World.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

const std::string kLink = "-o prog.exe -subsystem console -s prog.obj  ";
const std::string kSuccess =
    "64|Success!|Application prog.bas has been compiled succesfully\r\n\r\n"
    "There were no detected errors \r\n";
const Lines kToCompiler{"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"};

// However a run ends, the window and its buttons come back and the pointer is
// the arrow, in this order.
void ExpectWindowGivenBack(const World& world) {
    const Lines calls = world.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(Lines(calls.end() - 4, calls.end()),
              (Lines{"window: on", "buttons: on", "do-events", "cursor: default"}));
}

TEST(DebugButton, ACleanConsoleBuildRunsEveryStepInOrder) {
    World world;
    world.PressDebug();
    EXPECT_EQ(
        world.Calls(),
        (Lines{"buttons: off",
               "window: off",
               "do-events x2",
               "registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0",
               "cursor: busy",
               "do-events",
               "directories: c:\\lcc | c:\\ktv",
               "chdir: c:\\work",
               "run-hidden: \"c:\\ktv\\bin\\ktvc.exe\" \"c:\\work\\prog\" -e",
               "write-file: c:\\work\\prog.c",
               "run-hidden: \"c:\\lcc\\bin\\lrc.exe\" \"c:\\work\\prog\"",
               "run-hidden: \"c:\\lcc\\bin\\lrc.exe\" \"c:\\work\\prog.dlg\"",
               "run-hidden: \"c:\\lcc\\bin\\lcc.exe\" \"c:\\work\\prog.c\" -O -zP1 -errout=lcc.err",
               "write-file: c:\\work\\prog.obj",
               "write-file: c:\\work\\lcc.err",
               "do-events",
               "window: on",
               "cursor: default",
               "do-events",
               "run-hidden: \"c:\\lcc\\bin\\lcclnk.exe\" " + kLink,
               "write-file: c:\\work\\prog.exe",
               "status: Built c:\\work\\prog.exe in 2.5 s",
               "box[64|Success!]: Application prog.bas has been compiled succesfully\r\n\r\n"
               "There were no detected errors \r\n",
               "delete-file: c:\\work\\lcc.err",
               "delete-file: c:\\work\\prog.obj",
               "window: on",
               "buttons: on",
               "do-events",
               "cursor: default"}));
    EXPECT_EQ(world.names.folder + "|" + world.names.baseName + "|" + world.names.fileName,
              "c:\\work|prog|prog.bas");
}

TEST(DebugButton, EachFailingStretchReportsItsTextWithTheArrowAndGivesTheWindowBack) {
    using Arrange = std::function<void(World&)>;
    const std::string bad = "Bad Basic Filename";
    // the box's text, how many tools ran, what fails
    const std::tuple<std::string, std::size_t, Arrange> cases[] = {
        {bad, 0, [](World& w) { w.options.basicFile = ""; }},
        {bad, 0, [](World& w) { w.options.basicFile = "c:\\work\\prog"; }},
        {bad + ": its path holds characters that the KTV and LCC tools cannot take (shown as ?). "
               "They take paths in the ANSI code page only: rename the folder or the file, or "
               "move the file to a path without them.",
         0, [](World& w) { w.options.basicFile = "c:\\H?l?ne\\prog.bas"; }},
        {bad, 0, [](World& w) { w.options.basicFile = "c:\\work\\gone.bas"; }},
        {bad, 0,
         [](World& w) {
             w.fake.files.AddFile("c:\\work\\other.txt", "x");  // but no other.bas
             w.options.basicFile = "c:\\work\\other.txt";
         }},
        {bad, 0, [](World& w) { w.fake.files.FailOn(fakes::FsOp::ChangeDirectory); }},
        {"Could not run ktv", 1, [](World& w) { w.fake.processes.failing = {"ktvc"}; }},
        {"Cannot find lrc.exe - Check lcc path", 1, [](World& w) { w.options.lccPath = "c:\\x"; }},
        {"Could not compile resource file", 2,
         [](World& w) { w.fake.processes.failing = {"lrc"}; }},
        {"Error: Could not Compile with LCC", 4,
         [](World& w) { w.fake.processes.failing = {"lcc.exe"}; }},
        {"Cannot Pass C error file", 4, [](World& w) { w.compilerLines = {"error prog.c: x"}; }},
        {"KTV Debugger cannot find one or more of your include libraries.", 4,
         [](World& w) {
             w.fake.files.AddFile("c:\\work\\a.lib", "lib");
             w.options.libraries = "a.lib;;c:\\lcc\\lib\\gone.lib";
         }},
        {"Could not run Linker. \r\n\r\nCommand was:\r\n\"c:\\lcc\\bin\\lcclnk.exe\" " + kLink, 5,
         [](World& w) { w.fake.processes.failing = {"lcclnk"}; }}};
    for (const auto& [text, tools, arrange] : cases) {
        SCOPED_TRACE(text);
        World world;
        world.options.runProgram = true;
        arrange(world);
        world.PressDebug();
        EXPECT_EQ(world.Boxes(), Lines{"48|Error!|Error: " + text});
        EXPECT_EQ(world.ToolsRun().size(), tools);
        const Lines calls = world.Calls();
        const auto box = std::find_if(calls.begin(), calls.end(),
                                      [](const std::string& e) { return e.starts_with("box["); });
        EXPECT_EQ(*(box - 1), "cursor: default");  // the arrow before the box
        EXPECT_TRUE(world.Only({"start["}).empty());
        ExpectWindowGivenBack(world);
    }
}

// Problems the readers report end the run with their own box only; warnings
// only when asked for.
TEST(DebugButton, AStageThatReportsItsOwnProblemEndsTheRun) {
    const std::tuple<std::function<void(World&)>, std::string, Lines> cases[] = {
        {[](World& w) { w.fake.files.AddFile("c:\\work\\prog.bas", "PRINT 1\r\n"); },
         "64|Modified Basic File|KTV Debugger is about to modify",
         {}},
        {[](World& w) { w.translatorError = "Syntax error 2"; },
         "64|Error!|Basic Error: Syntax error 2",
         {"ktvc.exe"}},
        {[](World& w) { w.compilerLines = {"error prog.c: 4 bad"}; },
         "64|Error!|C Error:  bad   -   Basic Line:  2", kToCompiler},
        {[](World& w) {
             w.compilerLines = {"warning prog.c: 6 odd"};
             w.options.checkWarnings = true;
         },
         "64|Error!|C Warning:  odd   -   Basic Line:  3", kToCompiler},
        {[](World& w) { w.compilerLines = {"warning prog.c: 6 odd"}; },
         kSuccess,
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe", "lcclnk.exe"}}};
    for (const auto& [arrange, box, tools] : cases) {
        SCOPED_TRACE(box);
        World world;
        arrange(world);
        world.PressDebug();
        ASSERT_EQ(world.Boxes().size(), 1u);
        EXPECT_TRUE(world.Boxes()[0].starts_with(box)) << world.Boxes()[0];
        EXPECT_TRUE(world.listed.empty());  // one problem: the box is enough
        EXPECT_EQ(world.ToolsRun(), tools);
        ExpectWindowGivenBack(world);
    }
}

TEST(DebugButton, TheLinkAndTheSuccessBoxFollowTheLinkModeResourceAndLibraries) {
    const std::string success =
        "Application prog.bas has been compiled succesfully\r\n\r\nThere were no detected errors ";
    using Mode = std::optional<LinkMode>;
    const std::tuple<Mode, std::string, bool, bool, std::string, std::string> cases[] = {
        // link mode, libraries, a .res, warnings asked for, link arguments, prompt
        {LinkMode::Gui, "", false, false, "-o prog.exe -subsystem windows -s prog.obj  ",
         success + "\r\n"},
        {LinkMode::Dll, "", false, false, "-o prog.dll -dll -s prog.obj  ", success},
        {std::nullopt, "", false, false, "-o   -s prog.obj  ", success + "\r\n"},
        {LinkMode::Console, "", true, true, "-o prog.exe -subsystem console -s prog.obj prog.res ",
         success + "or Warnings\r\n"},
        {LinkMode::Console, "a.lib;;b.lib", false, false,
         "-o prog.exe -subsystem console -s prog.obj  a.lib  b.lib ", success + "\r\n"}};
    for (const auto& [mode, libraries, resource, warnings, link, prompt] : cases) {
        SCOPED_TRACE(link);
        World world;
        world.options.linkMode = mode;
        world.options.libraries = libraries;
        world.options.checkWarnings = warnings;
        world.fake.files.AddFile("c:\\work\\a.lib", "");
        world.fake.files.AddFile("c:\\work\\b.lib", "");
        if (resource) {
            world.fake.files.AddFile("c:\\work\\prog.res", "res");
        }
        world.PressDebug();
        EXPECT_EQ(world.Only({"run-hidden: \"c:\\lcc\\bin\\lcclnk.exe\""}),
                  Lines{"run-hidden: \"c:\\lcc\\bin\\lcclnk.exe\" " + link});
        EXPECT_EQ(world.Boxes(), Lines{"64|Success!|" + prompt});
        EXPECT_FALSE(world.fake.files.FileExists("c:\\work\\prog.res"));
    }
}

TEST(DebugButton, AfterSuccessTheChosenActionRunsForAProgramOnly) {
    using Mode = std::optional<LinkMode>;
    const std::tuple<Mode, bool, bool, Lines> cases[] = {
        // link mode, run, Wedit, what is started
        {LinkMode::Console, true, false, {"start[1]: C:\\windows\\system32\\cmd.exe /k prog.exe "}},
        {LinkMode::Gui, true, false, {"start[1]: c:\\work\\prog.exe"}},
        {std::nullopt, true, false, {"start[1]: c:\\work\\prog.exe"}},
        {LinkMode::Console, false, true, {"start[3]: c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c"}},
        {LinkMode::Dll, true, true, {}},
        {LinkMode::Console, false, false, {}}};
    for (const auto& [mode, run, wedit, starts] : cases) {
        World world;
        world.options.linkMode = mode;
        world.options.runProgram = run;
        world.options.debugInWedit = wedit;
        world.PressDebug();
        EXPECT_EQ(world.Only({"start["}), starts);
        ExpectWindowGivenBack(world);
    }
    World world;
    world.options.runProgram = true;
    world.options.linkMode = LinkMode::Gui;
    world.fake.processes.failing = {"c:\\work\\prog.exe"};
    world.PressDebug();
    EXPECT_EQ(world.Boxes().back(),
              "48|Error!|Error: Could not start the program: Could not start the program "
              "(c:\\work\\prog.exe): Cannot start c:\\work\\prog.exe");
}

// A failed link used to be reported as "Success!": the program the link
// should have written is looked at before and after it, never against this
// machine's clock (a file server's may be far behind).
TEST(DebugButton, ALinkThatLeavesNoNewOrChangedProgramIsReported) {
    const FileTime hour = 3600 * FileTime{10'000'000};
    const std::string noExe =
        "48|Error!|Error: The linker did not produce prog.exe.\r\n\r\n"
        "Command was:\r\n\"c:\\lcc\\bin\\lcclnk.exe\" " +
        kLink;
    const std::tuple<bool, bool, FileTime, std::string> cases[] = {
        // an earlier program, the linker writes, its time then
        {false, false, 0, noExe},
        {true, false, 0, noExe},
        {true, true, hour, kSuccess},      // an hour behind the earlier program
        {true, true, 2 * hour, kSuccess},  // the same time, another size
    };
    for (const auto& [earlier, writes, time, box] : cases) {
        World world;
        if (earlier) {
            world.fake.files.AddFile("c:\\work\\prog.exe", "MZ old");
            world.fake.files.SetWriteTime("c:\\work\\prog.exe", 2 * hour);
        }
        world.linkerWrites = writes;
        world.linkerWriteTime = time;
        world.PressDebug();
        EXPECT_EQ(world.Boxes(), Lines{box}) << earlier << writes << time;
    }
}

// A run whose names could not be derived must not delete an earlier run's
// files (nor, with no folder, files in the root of the drive); a removal
// that fails keeps nothing locked, nor does a failure between the steps,
// which is reported like any other.
TEST(DebugButton, TheFinishRemovesOnlyThisRunsFilesAndAlwaysGivesTheWindowBack) {
    World world;
    world.fake.files.FailOn(fakes::FsOp::Delete);
    world.PressDebug();
    EXPECT_EQ(world.Boxes(), Lines{kSuccess});
    ExpectWindowGivenBack(world);
    world.options.basicFile = "c:\\work\\prog";
    world.PressDebug();
    EXPECT_TRUE(world.fake.files.FileExists("c:\\work\\lcc.err"));
    ExpectWindowGivenBack(world);
    world.options.basicFile = "prog.bas";  // no folder: nothing is removed
    world.PressDebug();
    EXPECT_TRUE(world.fake.files.FileExists("c:\\work\\lcc.err"));

    World boxless;  // every box fails, the last one after the link
    boxless.fake.desktop.onMessageBox = [](const std::string&) { throw Error("no desktop"); };
    boxless.PressDebug();
    EXPECT_EQ(boxless.Boxes().back(), "48|Error!|Error: The Debug run stopped: no desktop");
    ExpectWindowGivenBack(boxless);
}

// A stop while an editor is being steered or while Wedit starts ends the
// run there: no key follows, and the run finishes as always.
TEST(DebugButton, AStopWhileAnEditorOrWeditIsSteeredSendsNoKeyAndFinishesTheRun) {
    using Arrange = std::function<void(World&)>;
    const std::tuple<const char*, Arrange, std::size_t, Lines> cases[] = {
        // where, how, tools run, keys and boxes
        {"editor",
         [](World& w) {
             w.compilerLines = {"error prog.c: 4 bad"};
             w.ChooseEditor(EditorChoice::JFE);
             w.fake.desktop.onPause = [&w] { w.run.RequestStop(); };
         },
         4,
         {"box[64|Error!]: C Error:  bad   -   Basic Line:  2"}},
        {"Wedit",
         [](World& w) {
             w.options.debugInWedit = true;
             w.fake.desktop.onMessageBox = [&w](const std::string&) { w.run.RequestStop(); };
         },
         5,
         {"box[64|Success!]: " + kSuccess.substr(12)}}};
    for (const auto& [where, arrange, tools, keysAndBoxes] : cases) {
        SCOPED_TRACE(where);
        World world;
        world.fake.files.AddFile("c:\\work\\lcc.err", "from an earlier run");
        arrange(world);
        world.PressDebug();
        EXPECT_EQ(world.ToolsRun().size(), tools);
        EXPECT_EQ(world.Only({"keys", "box-keys", "box["}), keysAndBoxes);
        EXPECT_EQ(world.Only({"status"}).back(), "status: The Debug run was stopped.");
        EXPECT_FALSE(world.fake.files.FileExists("c:\\work\\lcc.err"));
        ExpectWindowGivenBack(world);
    }
}

}  // namespace
}  // namespace ktv::testing
