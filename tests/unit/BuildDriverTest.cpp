#include <gtest/gtest.h>

#include "DebugRunFixture.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kLinkConsole =
    "\"c:\\lcc\\bin\\lcclnk.exe\" -o prog.exe -subsystem console -s prog.obj  ";
constexpr const char* kSuccess =
    "Application prog.bas has been compiled succesfully\r\n\r\nThere were no detected errors \r\n";
constexpr const char* kAllBack = "window on, buttons on, arrow";

using World = fixtures::DebugRunWorld;
using BuildDriver = fixtures::DebugRunFixture;

// After every run, however it ended, the window is handed back whole.
void ExpectWindowHandedBack(const World& world) {
    EXPECT_EQ(world.WindowState(), kAllBack);
    ASSERT_FALSE(world.fake.transcript.Entries().empty());
    EXPECT_EQ(world.fake.transcript.Entries().back(), "cursor: default");
}

TEST_F(BuildDriver, ACleanConsoleBuildRunsEveryStepInOrder) {
    PressDebug();
    EXPECT_EQ(Folded(), (Lines{
                            "debug-button: disabled",
                            "window: disabled",
                            "do-events x2",
                            "registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0",
                            "cursor: busy",
                            "do-events",
                            "chdir: c:\\work",
                            "call: InsertSourceMarkers c:\\work\\prog.bas",
                            "run-hidden: \"c:\\ktv\\bin\\ktvc.exe\" \"c:\\work\\prog\" -e",
                            "write-file: c:\\work\\prog.c",
                            "call: ShowBasicErrors c:\\work\\ktv.err",
                            "run-hidden: \"c:\\lcc\\bin\\lrc.exe\" \"c:\\work\\prog\"",
                            "run-hidden: \"c:\\lcc\\bin\\lrc.exe\" \"c:\\work\\prog.dlg\"",
                            "run-hidden: \"c:\\lcc\\bin\\lcc.exe\" \"c:\\work\\prog.c\" -O -zP1 "
                            "-errout=lcc.err",
                            "write-file: c:\\work\\prog.obj",
                            "do-events",
                            "call: ShowCErrors c:\\work\\lcc.err",
                            "window: enabled",
                            "cursor: default",
                            "do-events",
                            std::string("run-hidden: ") + kLinkConsole,
                            "write-file: c:\\work\\prog.exe",
                            std::string("box[64|Success!]: ") + kSuccess,
                            "call: RemoveIntermediateFiles c:\\work prog",
                            "debug-button: enabled",
                            "do-events",
                            "cursor: default",
                        }));
    // Locked with the hourglass while the tools run; the window (not its
    // buttons) comes back before the link.
    EXPECT_EQ(moments, (Lines{
                           "ktvc.exe: window off, buttons off, busy",
                           "lrc.exe: window off, buttons off, busy",
                           "lrc.exe: window off, buttons off, busy",
                           "lcc.exe: window off, buttons off, busy",
                           "lcclnk.exe: window on, buttons off, arrow",
                           "box Application prog.bas has been compiled succesfully: window on, "
                           "buttons off, arrow",
                       }));
    EXPECT_EQ(run.folder, "c:\\work");
    EXPECT_EQ(run.baseName, "prog");
    EXPECT_EQ(run.fileName, "prog.bas");
    EXPECT_EQ(fake.files.CurrentDirectory(), "c:\\work");
    ExpectWindowHandedBack(*this);
}

TEST_F(BuildDriver, EachFailingStretchReportsItsTextAndHandsTheWindowBack) {
    const std::string linkerText =
        std::string("Could not run Linker. \r\n\r\nCommand was:\r\n") + kLinkConsole;
    struct Case {
        const char* name;
        std::function<void(World&)> arrange;
        std::string text;
        Lines tools;
    };
    const Case cases[] = {
        {"empty field", [](World& t) { t.form.Txt_BasFile.SetText(""); }, "Bad Basic Filename", {}},
        {"no dot",
         [](World& t) { t.form.Txt_BasFile.SetText("c:\\work\\prog"); },
         "Bad Basic Filename",
         {}},
        {"no such file",
         [](World& t) { t.form.Txt_BasFile.SetText("c:\\work\\gone.bas"); },
         "Bad Basic Filename",
         {}},
        {"txt without bas",
         [](World& t) {
             t.fake.files.AddFile("c:\\work\\other.txt", "x");
             t.form.Txt_BasFile.SetText("c:\\work\\other.txt");
         },
         "Bad Basic Filename",
         {}},
        {"folder cannot be entered",
         [](World& t) { t.fake.files.FailOn(fakes::FsOp::ChangeDirectory); },
         "Bad Basic Filename",
         {}},
        {"marker routine fails",
         [](World& t) {
             t.routines.insertSourceMarkers = [](DebugContext&, const std::string&) -> bool {
                 throw FileError("cannot write");
             };
         },
         "Bad Basic Filename",
         {}},
        {"translator cannot start",
         [](World& t) { t.fake.processes.FailStartsContaining("ktvc.exe"); },
         "Could not run ktv",
         {"ktvc.exe"}},
        {"no lrc.exe",
         [](World& t) { t.form.Txt_LccPath.SetText("c:\\elsewhere"); },
         "Cannot find lrc.exe - Check lcc path",
         {"ktvc.exe"}},
        {"resource compiler cannot start",
         [](World& t) { t.fake.processes.FailStartsContaining("lrc.exe"); },
         "Could not compile resource file",
         {"ktvc.exe", "lrc.exe"}},
        {"compiler cannot start",
         [](World& t) { t.fake.processes.FailStartsContaining("lcc.exe"); },
         "Error: Could not Compile with LCC",
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}},
        {"C error file unreadable",
         [](World& t) {
             t.routines.showCErrors = [](DebugContext&, const std::string&) -> bool {
                 throw FormatError("no line number");
             };
         },
         "Cannot Pass C error file",
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}},
        {"missing library",
         [](World& t) {
             t.fake.files.AddFile("c:\\work\\a.lib", "lib");
             t.form.Txt_Libs.SetText("a.lib;;c:\\lcc\\lib\\gone.lib");
         },
         "KTV Debugger cannot find one or more of your include libraries.",
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}},
        {"linker cannot start",
         [](World& t) { t.fake.processes.FailStartsContaining("lcclnk.exe"); },
         linkerText,
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe", "lcclnk.exe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World t;
        t.form.Chk_Run.SetState(CheckState::Checked);
        c.arrange(t);
        t.PressDebug();
        EXPECT_EQ(t.Only({"box["}), Lines{"box[48|Error!]: Error: " + c.text});
        EXPECT_EQ(t.ToolsRun(), c.tools);
        ASSERT_FALSE(t.moments.empty());
        EXPECT_EQ(t.moments.back().substr(t.moments.back().rfind(", ") + 2), "arrow");
        EXPECT_TRUE(t.Only({"call: RunBuiltProgram", "call: OpenInWedit"}).empty());
        ExpectWindowHandedBack(t);
    }
}

TEST_F(BuildDriver, AStageThatReportsItsOwnProblemEndsTheRunWithoutABoxOfItsOwn) {
    struct Case {
        const char* name;
        bool World::*answer;
        bool checkWarnings;
        Lines tools;
    };
    const Case cases[] = {
        {"marker just added", &World::markerInserted, false, {}},
        {"translator error", &World::basicErrorReported, false, {"ktvc.exe"}},
        {"C error", &World::cErrorReported, false, {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}},
        {"C warning",
         &World::cWarningReported,
         true,
         {"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World t;
        t.*c.answer = true;
        t.form.Chk_warn.SetState(c.checkWarnings ? CheckState::Checked : CheckState::Unchecked);
        t.PressDebug();
        EXPECT_EQ(t.ToolsRun(), c.tools);
        EXPECT_TRUE(t.BoxPrompts().empty());
        EXPECT_EQ(t.Only({"call: RemoveIntermediateFiles"}),
                  Lines{"call: RemoveIntermediateFiles c:\\work prog"});
        ExpectWindowHandedBack(t);
    }
}

TEST_F(BuildDriver, WarningsAreReadOnlyWhenAskedFor) {
    cWarningReported = true;  // would stop the build if it were asked
    form.Chk_warn.SetState(CheckState::Grayed);
    PressDebug();
    EXPECT_TRUE(Only({"call: ShowCWarnings"}).empty());
    EXPECT_EQ(BoxPrompts(), Lines{kSuccess});
}

TEST_F(BuildDriver, LinkerCommandFollowsLinkModeResourceAndLibraries) {
    struct Case {
        std::function<void(MainForm&)> mode;
        bool resourceFile;
        std::string libraries;
        std::string command;
    };
    const std::string linker = "run-hidden: \"c:\\lcc\\bin\\lcclnk.exe\"";
    const Case cases[] = {
        {[](MainForm& f) { f.Opt_Gui.Click(); }, false, "",
         linker + " -o prog.exe -subsystem windows -s prog.obj  "},
        {[](MainForm& f) { f.Opt_Con.Click(); }, false, "",
         linker + " -o prog.exe -subsystem console -s prog.obj  "},
        {[](MainForm& f) { f.Opt_DLL.Click(); }, false, "",
         linker + " -o prog.dll -dll -s prog.obj  "},
        {[](MainForm& f) { f.Opt_Con.SetSelected(false); }, false, "",
         linker + " -o   -s prog.obj  "},
        {[](MainForm& f) { f.Opt_Gui.Click(); }, true, "",
         linker + " -o prog.exe -subsystem windows -s prog.obj prog.res "},
        {[](MainForm& f) { f.Opt_Con.Click(); }, true, "a.lib;",
         linker + " -o prog.exe -subsystem console -s prog.obj prog.res a.lib  "},
        {[](MainForm& f) { f.Opt_Con.Click(); }, false, "a.lib;;c:\\libs\\b.lib",
         linker + " -o prog.exe -subsystem console -s prog.obj  a.lib  c:\\libs\\b.lib "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        World t;
        c.mode(t.form);
        t.fake.files.AddFile("c:\\work\\a.lib", "lib");
        t.fake.files.AddFile("c:\\libs\\b.lib", "lib");
        if (c.resourceFile) {
            t.fake.files.AddFile("c:\\work\\prog.res", "res");
        }
        t.form.Txt_Libs.SetText(c.libraries);
        t.PressDebug();
        const Lines links = t.Only({linker});
        ASSERT_EQ(links.size(), 1u);
        EXPECT_EQ(links[0], c.command);
    }
}

TEST_F(BuildDriver, SuccessPromptAndPostBuildFollowWarningsAndLinkMode) {
    struct Case {
        bool dll;
        bool warnings;
        CheckBox MainForm::*action;
        std::string prompt;
        Lines calls;
    };
    const std::string head = "Application prog.bas has been compiled succesfully\r\n\r\n";
    const Case cases[] = {
        {false,
         false,
         &MainForm::Chk_Run,
         head + "There were no detected errors \r\n",
         {"call: RunBuiltProgram"}},
        {false,
         true,
         &MainForm::Chk_debug,
         head + "There were no detected errors or Warnings\r\n",
         {"call: OpenInWedit"}},
        {true, false, &MainForm::Chk_Run, head + "There were no detected errors ", {}},
        {true, true, &MainForm::Chk_debug, head + "There were no detected errors or Warnings", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        World t;
        if (c.dll) {
            t.form.Opt_DLL.Click();
        }
        t.form.Chk_warn.SetState(c.warnings ? CheckState::Checked : CheckState::Unchecked);
        (t.form.*c.action).SetState(CheckState::Checked);
        t.PressDebug();
        EXPECT_EQ(t.Only({"box["}), Lines{"box[64|Success!]: " + c.prompt});
        EXPECT_EQ(t.Only({"call: RunBuiltProgram", "call: OpenInWedit"}), c.calls);
        ExpectWindowHandedBack(t);
    }
}

TEST_F(BuildDriver, DirectoryFieldsAreNormalisedAndKeptInTheWindow) {
    struct Case {
        std::string typed;
        std::string shown;
    };
    const Case cases[] = {
        {"c:\\lcc\\", "c:\\lcc"},
        {"c:/lcc/", "c:\\lcc\\"},
        {"c:\\lcc\\\\", "c:\\lcc\\"},
        {"c:\\lcc", "c:\\lcc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        World t;
        t.form.Txt_LccPath.SetText(c.typed);
        std::string ktv = c.typed;
        ktv.replace(ktv.find("lcc"), 3, "ktv");
        t.form.Txt_KtvPath.SetText(ktv);
        t.PressDebug();
        EXPECT_EQ(t.form.Txt_LccPath.Text(), c.shown);
        std::string ktvShown = c.shown;
        ktvShown.replace(ktvShown.find("lcc"), 3, "ktv");
        EXPECT_EQ(t.form.Txt_KtvPath.Text(), ktvShown);
        // The tools are called under the normalised text, a left "\" doubled.
        EXPECT_EQ(t.Only({"run-hidden: "}).front(),
                  "run-hidden: \"" + ktvShown + "\\bin\\ktvc.exe\" \"c:\\work\\prog\" -e");
    }
}

TEST_F(BuildDriver, CommandLineFieldKeepsTheStateOfItsLinkMode) {
    struct Case {
        std::function<void(MainForm&)> mode;
        bool enabled;
    };
    const Case cases[] = {
        {[](MainForm& f) { f.Opt_Gui.Click(); }, false},
        {[](MainForm& f) { f.Opt_Con.Click(); }, true},
        {[](MainForm& f) { f.Opt_DLL.Click(); }, false},
    };
    for (const Case& c : cases) {
        for (const char* basicFile : {"c:\\work\\prog.bas", "c:\\work\\prog"}) {
            World t;
            c.mode(t.form);
            t.form.Txt_BasFile.SetText(basicFile);
            t.PressDebug();
            EXPECT_EQ(t.form.Txt_Cmd.Enabled(), c.enabled) << basicFile;
            ExpectWindowHandedBack(t);
        }
    }
}

// A failed link used to be reported as "Success!": the program that the link
// should have written is now looked at, before and after the link, never
// against this machine's clock (a file server's may be far behind).
TEST_F(BuildDriver, ALinkThatLeavesNoNewProgramIsReportedNotCelebrated) {
    const FileTime hour = 3600 * FileTime{10'000'000};
    struct Case {
        const char* name;
        std::function<void(World&)> arrange;
        std::string text;  // empty: success
    };
    const std::string noExe =
        std::string("The linker did not produce prog.exe.\r\n\r\nCommand was:\r\n") + kLinkConsole;
    const auto oldProgram = [hour](World& t) {
        t.fake.files.AddFile("c:\\work\\prog.exe", "MZ old");
        t.fake.files.SetWriteTime("c:\\work\\prog.exe", 2 * hour);
    };
    const Case cases[] = {
        {"linker writes nothing", [](World& t) { t.tools.erase("lcclnk.exe"); }, noExe},
        {"an earlier build's program left as it was",
         [&](World& t) {
             oldProgram(t);
             t.tools.erase("lcclnk.exe");
         },
         noExe},
        {"an hour behind the earlier program (a server's clock)",
         [&](World& t) {
             oldProgram(t);
             t.tools["lcclnk.exe"] = [&t, hour](const std::string&) {
                 t.fake.files.WriteFile("c:\\work\\prog.exe", "MZ new");
                 t.fake.files.SetWriteTime("c:\\work\\prog.exe", hour);
             };
         },
         ""},
        {"same time, other size",
         [&](World& t) {
             oldProgram(t);
             t.tools["lcclnk.exe"] = [&t, hour](const std::string&) {
                 t.fake.files.WriteFile("c:\\work\\prog.exe", "MZ newer");
                 t.fake.files.SetWriteTime("c:\\work\\prog.exe", 2 * hour);
             };
         },
         ""},
        {"DLL not written",
         [](World& t) {
             t.form.Opt_DLL.Click();
             t.tools.erase("lcclnk.exe");
         },
         "The linker did not produce prog.dll.\r\n\r\nCommand was:\r\n"
         "\"c:\\lcc\\bin\\lcclnk.exe\" -o prog.dll -dll -s prog.obj  "},
        {"no link mode, no program",
         [](World& t) {
             t.form.Opt_Con.SetSelected(false);
             t.tools.erase("lcclnk.exe");
         },
         "The linker did not produce prog.exe.\r\n\r\nCommand was:\r\n"
         "\"c:\\lcc\\bin\\lcclnk.exe\" -o   -s prog.obj  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World t;
        t.form.Chk_Run.SetState(CheckState::Checked);
        c.arrange(t);
        t.PressDebug();
        if (c.text.empty()) {
            EXPECT_EQ(t.BoxPrompts(), Lines{kSuccess});
            EXPECT_EQ(t.Only({"call: RunBuiltProgram"}).size(), 1u);
        } else {
            EXPECT_EQ(t.Only({"box["}), Lines{"box[48|Error!]: Error: " + c.text});
            EXPECT_TRUE(t.Only({"call: RunBuiltProgram"}).empty());
        }
        EXPECT_EQ(t.Only({"call: RemoveIntermediateFiles"}).size(), 1u);
        ExpectWindowHandedBack(t);
    }
}

TEST_F(BuildDriver, WithNoLinkModeTheProgramIsRunAsForAProgram) {
    form.Opt_Con.SetSelected(false);
    form.Chk_Run.SetState(CheckState::Checked);
    PressDebug();
    EXPECT_EQ(BoxPrompts(), Lines{kSuccess});
    EXPECT_EQ(Only({"call: RunBuiltProgram"}).size(), 1u);
}

// The removal at the end used to take the names of an earlier run (or empty
// names, in the root of the drive) when this run's names could not be derived.
TEST_F(BuildDriver, NoRemovalUnderNamesThisRunDidNotDerive) {
    fake.files.AddFile("c:\\old\\old.bas", "$SOURCE\r\n");
    form.Txt_BasFile.SetText("c:\\old\\old.bas");
    PressDebug();
    ASSERT_EQ(Only({"call: RemoveIntermediateFiles"}),
              Lines{"call: RemoveIntermediateFiles c:\\old old"});

    for (const char* basicFile : {"c:\\work\\prog", "", "c:\\my.dir\\prog"}) {
        fake.transcript.Clear();
        form.Txt_BasFile.SetText(basicFile);
        PressDebug();
        EXPECT_EQ(BoxPrompts(), Lines{"Error: Bad Basic Filename"}) << basicFile;
        EXPECT_TRUE(Only({"call: RemoveIntermediateFiles"}).empty()) << basicFile;
        EXPECT_EQ(run.folder, "c:\\old");  // the last derived names stay
        EXPECT_EQ(run.baseName, "old");
        EXPECT_EQ(WindowState(), kAllBack);
    }

    // A name without a folder would make every path one in the drive's root.
    fake.transcript.Clear();
    form.Txt_BasFile.SetText("prog.bas");
    PressDebug();
    EXPECT_EQ(BoxPrompts(), Lines{"Error: Bad Basic Filename"});
    EXPECT_TRUE(Only({"call: RemoveIntermediateFiles"}).empty());
}

TEST_F(BuildDriver, AFailedFirstRunRemovesNothing) {
    form.Txt_BasFile.SetText("");
    PressDebug();
    EXPECT_TRUE(Only({"call: RemoveIntermediateFiles"}).empty());
    EXPECT_EQ(run.folder, "");
    ExpectWindowHandedBack(*this);
}

// Stretches that once had no handling of their own report with their own text
// and still give the window back.
TEST_F(BuildDriver, FailuresOutsideTheNamedStretchesAreReportedToo) {
    struct Case {
        const char* name;
        std::function<void(World&)> arrange;
        Lines boxes;
        bool removal;
    };
    const Case cases[] = {
        {"preparing",
         [](World& t) { t.form.Txt_KtvPath.SetViewObserver([] { throw Error("field gone"); }); },
         {"Error: Could not prepare the Debug run: field gone"},
         false},
        {"translator's report",
         [](World& t) {
             t.routines.showBasicErrors = [](DebugContext&, const std::string&) -> bool {
                 throw StartFailed("Cannot start notepad.exe");
             };
         },
         {"Error: Could not show the translator's errors: Cannot start notepad.exe"},
         true},
        {"Wedit",
         [](World& t) {
             t.form.Chk_debug.SetState(CheckState::Checked);
             t.routines.openInWedit = [](DebugContext&) {
                 throw FileError("projects.ini is empty");
             };
         },
         {kSuccess, "Error: Could not open Wedit: projects.ini is empty"},
         true},
        {"the program",
         [](World& t) {
             t.form.Chk_Run.SetState(CheckState::Checked);
             t.routines.runBuiltProgram = [](DebugContext&) {
                 throw StartFailed("Cannot start c:\\work\\prog.exe");
             };
         },
         {kSuccess, "Error: Could not start the program: Cannot start c:\\work\\prog.exe"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World t;
        c.arrange(t);
        t.PressDebug();
        EXPECT_EQ(t.BoxPrompts(), c.boxes);
        EXPECT_EQ(t.Only({"call: RemoveIntermediateFiles"}).size(), c.removal ? 1u : 0u);
        ExpectWindowHandedBack(t);
    }
}

TEST_F(BuildDriver, AFailingFinishActionDoesNotKeepTheWindowLocked) {
    routines.removeIntermediateFiles = [](DebugContext&) { throw FileError("locked"); };
    form.Command1.SetViewObserver([this] {
        if (form.Command1.Enabled()) {
            throw Error("repaint failed");
        }
    });
    PressDebug();
    EXPECT_EQ(BoxPrompts(), Lines{kSuccess});
    EXPECT_EQ(WindowState(), kAllBack);
    EXPECT_EQ(fake.transcript.Entries().back(), "cursor: default");
}

}  // namespace
}  // namespace ktv
