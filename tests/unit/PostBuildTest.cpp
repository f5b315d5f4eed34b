#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "build/PostBuild.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kWeditPrompt =
    "After clicking OK:\r\nWait for file to build (check bottom of Wedit) then press F5 to "
    "activate wedit debugger\r\n\r\nOnce the debugger is active, use the debug menu";

class PostBuildTest : public ::testing::Test {
protected:
    PostBuildTest() {
        form.Txt_LccPath.SetText("c:\\lcc");
        run = BuildRun{"c:\\work", "prog", "prog.bas"};
        fake.files.AddFile("c:\\work\\prog.c", "int main(){}");
        fake.desktop.windowTitles.insert("KTV Debugger 3.001");
    }

    DebugContext Context() { return DebugContext{form, run, platform, 7}; }

    // The Error's text, or nothing when the action succeeded.
    template <typename Action>
    std::optional<std::string> Failure(Action action) {
        DebugContext context = Context();
        try {
            action(context);
        } catch (const Error& e) {
            return e.what();
        }
        return std::nullopt;
    }

    fakes::FakePlatform fake;
    Platform platform = fake.Get();
    MainForm form;
    BuildRun run;
};

TEST_F(PostBuildTest, WeditGetsItsKeysAroundTheMessageBox) {
    fake.files.AddFile("c:\\work\\lcc8\\prog.obj", "x");
    fake.files.AddFile("c:\\lcc\\lib\\projects.ini", "[prog]\r\nprog=c:\\work\r\nother=1\r\n");
    EXPECT_EQ(Failure(OpenInWedit), std::nullopt);
    EXPECT_EQ(fake.transcript.Folded(), (Lines{
                                            "delete-folder: c:\\work\\lcc8",
                                            "write-file: c:\\lcc\\lib\\projects.ini",
                                            "do-events x2",
                                            "start[3]: c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c",
                                            "wait-ready: 101",
                                            "do-events x2",
                                            "activate-task: 101",
                                            "do-events x2",
                                            "keys: {F9}",
                                            "do-events x6",
                                            "keys: {ENTER}",
                                            "do-events x2",
                                            "keys: {ENTER}",
                                            "do-events x16",
                                            "activate-window: 7",
                                            std::string("box[0|KTVDebugger]: ") + kWeditPrompt,
                                            "do-events x2",
                                            "activate-task: 101",
                                            "do-events x2",
                                            "keys: {F5}",
                                        }));
    EXPECT_EQ(fake.files.Content("c:\\lcc\\lib\\projects.ini"), "[prog]\r\nother=1\r\n");
    EXPECT_FALSE(fake.files.FolderExists("c:\\work\\lcc8"));
}

TEST_F(PostBuildTest, PathsWithSpacesAreQuotedInWeditsCommandLine) {
    form.Txt_LccPath.SetText("c:\\program files\\lcc");
    run.folder = "c:\\my work";
    fake.files.AddFolder("c:\\my work");
    EXPECT_EQ(Failure(OpenInWedit), std::nullopt);
    EXPECT_EQ(
        fake.transcript.Only({"start"}),
        Lines{"start[3]: \"c:\\program files\\lcc\\bin\\wedit.exe\" \"c:\\my work\\prog.c\""});
}

TEST_F(PostBuildTest, WithoutAProjectListWeditStartsAllTheSame) {
    // No projects.ini (Wedit never ran) and an empty one hold no entry to remove.
    EXPECT_EQ(Failure(OpenInWedit), std::nullopt);
    fake.files.AddFile("c:\\lcc\\lib\\projects.ini", "");
    EXPECT_EQ(Failure(OpenInWedit), std::nullopt);
    EXPECT_EQ(fake.transcript.Only({"write-file", "keys"}),
              (Lines{"keys: {F9}", "keys: {ENTER}", "keys: {ENTER}", "keys: {F5}", "keys: {F9}",
                     "keys: {ENTER}", "keys: {ENTER}", "keys: {F5}"}));
}

TEST_F(PostBuildTest, AWeditWindowThatNeverComesGetsNoKeys) {
    fake.desktop.tasksWithoutWindow.insert(101);
    fake.processes.readyAnswer = false;
    EXPECT_EQ(Failure(OpenInWedit),
              "Could not bring Wedit's window to the front, so the build command (F9) was not "
              "sent to it.");
    Lines expected{"start[3]: c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c", "wait-ready: 101",
                   "do-events x2"};
    for (int i = 0; i < 9; ++i) {
        expected.push_back("activate-task: 101 (not found)");
        expected.push_back("do-events");
    }
    expected.push_back("activate-task: 101 (not found)");
    const Lines folded = fake.transcript.Folded();
    EXPECT_EQ(Lines(folded.begin() + 1, folded.end()), expected);
}

// A desktop on which Wedit's window shows up only at the third look.
class LateWindowDesktop : public fakes::FakeDesktop {
public:
    using FakeDesktop::FakeDesktop;
    TaskWindow ActivateByTask(TaskId task) override {
        if (++looks_ == 3) {
            tasksWithoutWindow.clear();
        }
        return FakeDesktop::ActivateByTask(task);
    }

private:
    int looks_ = 0;
};

TEST_F(PostBuildTest, AWindowThatAppearsLateIsFoundByTheRetry) {
    LateWindowDesktop late(fake.transcript);
    late.windowTitles = fake.desktop.windowTitles;
    late.tasksWithoutWindow = {101};
    Platform withLate{fake.processes, late, fake.files, fake.registry, fake.system};
    DebugContext context{form, run, withLate, 7};
    EXPECT_NO_THROW(OpenInWedit(context));
    EXPECT_EQ(fake.transcript.Only({"activate-task", "keys: {F9}"}),
              (Lines{"activate-task: 101 (not found)", "activate-task: 101 (not found)",
                     "activate-task: 101", "keys: {F9}", "activate-task: 101"}));
}

TEST_F(PostBuildTest, FailuresBeforeWeditStartsSayWhatFailed) {
    fake.files.AddFolder("c:\\work\\lcc8");
    fake.files.FailOn(fakes::FsOp::DeleteFolder, "c:\\work\\lcc8");
    EXPECT_EQ(Failure(OpenInWedit),
              "Could not delete the folder c:\\work\\lcc8 that Wedit builds in: Injected failure "
              "on c:\\work\\lcc8");

    fake.files.AddFile("c:\\lcc\\lib\\projects.ini", "prog=1\r\n");
    fake.files.FailOn(fakes::FsOp::Write, "c:\\lcc\\lib\\projects.ini");
    EXPECT_EQ(Failure(OpenInWedit),
              "Could not remove the project prog from Wedit's project list: Could not write "
              "c:\\lcc\\lib\\projects.ini: Injected failure on c:\\lcc\\lib\\projects.ini");

    fake.processes.FailStartsContaining("wedit.exe");
    EXPECT_EQ(Failure(OpenInWedit),
              "Could not start Wedit (c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c): Cannot start "
              "c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c");
    EXPECT_TRUE(fake.transcript.Only({"keys", "box"}).empty());
}

struct RunCase {
    const char* name;
    std::optional<LinkMode> link;
    std::string folder;
    std::string commandText;
    std::string systemDirectory;
    Lines expected;
    std::string baseName = "prog";
};

TEST_F(PostBuildTest, TheBuiltProgramStartsByLinkMode) {
    const RunCase cases[] = {
        {"console with cmd.exe",
         LinkMode::Console,
         "c:\\work",
         "-v \"a b\"",
         "C:\\windows\\system32",
         {"chdir: c:\\work", "start[1]: C:\\windows\\system32\\cmd.exe /k prog.exe -v \"a b\""}},
        {"an empty command line leaves the space",
         LinkMode::Console,
         "c:\\work",
         "",
         "C:\\windows\\system32",
         {"chdir: c:\\work", "start[1]: C:\\windows\\system32\\cmd.exe /k prog.exe "}},
        {"no cmd.exe: command.com",
         LinkMode::Console,
         "c:\\work",
         "x",
         "C:\\old\\system",
         {"chdir: c:\\work", "start[1]: C:\\old\\system\\command.com /k prog.exe x"}},
        {"no system directory: nothing is started",
         LinkMode::Console,
         "c:\\work",
         "x",
         "",
         {"chdir: c:\\work"}},
        {"gui ignores the command line",
         LinkMode::Gui,
         "c:\\work",
         "x",
         "C:\\windows\\system32",
         {"start[1]: c:\\work\\prog.exe"}},
        {"no selection starts it as a gui program",
         std::nullopt,
         "c:\\work",
         "x",
         "C:\\windows\\system32",
         {"start[1]: c:\\work\\prog.exe"}},
        {"a console program with a space is quoted",
         LinkMode::Console,
         "c:\\my work",
         "-v",
         "C:\\windows\\system32",
         {"chdir: c:\\my work", "start[1]: C:\\windows\\system32\\cmd.exe /k \"my prog.exe\" -v"},
         "my prog"},
        {"and the whole line too when the arguments hold quotes",
         LinkMode::Console,
         "c:\\work",
         "-v \"a b\"",
         "C:\\windows\\system32",
         {"chdir: c:\\work",
          "start[1]: C:\\windows\\system32\\cmd.exe /k \"\"my prog.exe\" -v \"a b\"\""},
         "my prog"},
        {"a gui path with a space is quoted",
         LinkMode::Gui,
         "c:\\my work",
         "",
         "C:\\windows\\system32",
         {"start[1]: \"c:\\my work\\prog.exe\""}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakePlatform local;
        local.files.AddFile("C:\\windows\\system32\\cmd.exe", "");
        local.files.AddFolder(c.folder);
        local.system.directory = c.systemDirectory;
        MainForm localForm;
        localForm.Txt_Cmd.SetText(c.commandText);
        localForm.Opt_Con.SetSelected(false);
        if (c.link == LinkMode::Gui)
            localForm.Opt_Gui.Click();
        if (c.link == LinkMode::Console)
            localForm.Opt_Con.Click();
        BuildRun localRun{c.folder, c.baseName, c.baseName + ".bas"};
        Platform localPlatform = local.Get();
        DebugContext context{localForm, localRun, localPlatform, 0};
        try {
            RunBuiltProgram(context);
        } catch (const Error&) {
            // No system folder: reported by the driver, nothing started.
        }
        EXPECT_EQ(local.transcript.Entries(), c.expected);
    }
}

TEST_F(PostBuildTest, AProgramThatCannotStartIsReported) {
    fake.processes.FailStartsContaining("prog.exe");
    fake.files.AddFile("C:\\windows\\system32\\cmd.exe", "");
    EXPECT_EQ(Failure(RunBuiltProgram),
              "Could not start the program (C:\\windows\\system32\\cmd.exe /k prog.exe ): Cannot "
              "start C:\\windows\\system32\\cmd.exe /k prog.exe ");
}

TEST_F(PostBuildTest, IntermediateFilesGoAndTheResultsStay) {
    for (const char* name : {"lcc.err", "ktv.err", "prog.obj", "prog.res", "prog.exe"}) {
        fake.files.AddFile(std::string("c:\\work\\") + name, "x");
    }
    fake.files.FailOn(fakes::FsOp::Delete, "c:\\work\\ktv.err");
    DebugContext context = Context();
    EXPECT_NO_THROW(RemoveIntermediateFiles(context));
    EXPECT_EQ(fake.files.AllFiles(),
              (Lines{"c:\\work\\ktv.err", "c:\\work\\prog.c", "c:\\work\\prog.exe"}));

    RemoveIntermediateFiles(context);  // nothing left but ktv.err; nothing fails
    EXPECT_EQ(fake.files.AllFiles(), (Lines{"c:\\work\\prog.c", "c:\\work\\prog.exe"}));
}

}  // namespace
}  // namespace ktv
