// After a build: Wedit driven into its debugger and the program started; and
// the key/value editor Wedit's list needs.

#include "World.h"
#include "debug/KeyValueFile.h"
#include "debug/PostBuild.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

// A world after a successful build of c:\work\prog.bas.
struct BuiltWorld : World {
    BuiltWorld() {
        names = BuildNames{"c:\\work", "prog", "prog.bas"};
        fake.files.AddFile("c:\\work\\prog.c", "int main(){}");
    }

    // The Error's text, or nothing when the action succeeded.
    std::optional<std::string> Failure(void (*action)(DebugContext&)) {
        DebugContext context = Context();
        try {
            action(context);
        } catch (const Error& e) {
            return e.what();
        }
        return std::nullopt;
    }
};

TEST(PostBuild, WeditGetsItsKeysAroundTheMessageBox) {
    BuiltWorld world;
    world.fake.files.AddFile("c:\\work\\lcc8\\prog.obj", "x");
    world.fake.files.AddFile("c:\\lcc\\lib\\projects.ini",
                             "[prog]\r\nprog=c:\\work\r\nother=1\r\n");
    EXPECT_EQ(world.Failure(OpenInWedit), std::nullopt);
    EXPECT_EQ(
        world.Calls(),
        (Lines{"delete-folder: c:\\work\\lcc8",
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
               "activate-window: 77",
               "box[0|KTVDebugger]: After clicking OK:\r\nWait for file to build (check bottom "
               "of Wedit) then press F5 to activate wedit debugger\r\n\r\nOnce the debugger "
               "is active, use the debug menu",
               "do-events x2",
               "activate-task: 101",
               "do-events x2",
               "keys: {F5}"}));
    EXPECT_EQ(world.fake.files.Content("c:\\lcc\\lib\\projects.ini"), "[prog]\r\nother=1\r\n");
}

TEST(PostBuild, WeditFailuresSayWhatFailedAndSendNoKeys) {
    const std::string kInWords =
        "In Wedit, press F9 to build (and Enter to answer its questions), then F5 to start the "
        "debugger.";
    const std::tuple<const char*, std::function<void(BuiltWorld&)>, std::string> cases[] = {
        {"no window", [](BuiltWorld& w) { w.fake.desktop.tasksWithoutWindow.insert(101); },
         "Could not bring Wedit's window to the front, so the build command (F9) was not sent "
         "to it. " +
             kInWords},
        {"another window in front once Wedit was",
         [](BuiltWorld& w) {
             w.fake.desktop.onPause = [&w, looks = 0]() mutable {
                 if (++looks == 3) {
                     w.fake.desktop.front = TaskWindow{4242, 42};
                 }
             };
         },
         "Wedit's window was not in front, so the build command (F9) was not sent to it. " +
             kInWords},
        {"lcc8 stays",
         [](BuiltWorld& w) {
             w.fake.files.AddFolder("c:\\work\\lcc8");
             w.fake.files.FailOn(fakes::FsOp::DeleteFolder);
         },
         "Could not delete the folder c:\\work\\lcc8 that Wedit builds in: Injected failure on "
         "c:\\work\\lcc8"},
        {"project list unwritable",
         [](BuiltWorld& w) {
             w.fake.files.AddFile("c:\\lcc\\lib\\projects.ini", "prog=1\r\n");
             w.fake.files.FailOn(fakes::FsOp::Write);
         },
         "Could not remove the project prog from Wedit's project list: Could not write "
         "c:\\lcc\\lib\\projects.ini: Injected failure on c:\\lcc\\lib\\projects.ini"},
        {"cannot start", [](BuiltWorld& w) { w.fake.processes.failing = {"wedit.exe"}; },
         "Could not start Wedit (c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c): Cannot start "
         "c:\\lcc\\bin\\wedit.exe c:\\work\\prog.c"}};
    for (const auto& [name, arrange, failure] : cases) {
        SCOPED_TRACE(name);
        BuiltWorld world;
        arrange(world);
        EXPECT_EQ(world.Failure(OpenInWedit), failure);
        EXPECT_TRUE(world.Only({"keys", "box"}).empty());
        const std::string tried = name;
        EXPECT_EQ(world.Only({"activate-task"}).size(), tried == "no window"           ? 10u
                                                        : tried.starts_with("another") ? 1u
                                                                                       : 0u);
    }
    BuiltWorld world;  // no project list, or an empty one: nothing to remove
    world.options.lccPath = "c:\\program files\\lcc";
    EXPECT_EQ(world.Failure(OpenInWedit), std::nullopt);
    world.fake.files.AddFile("c:\\program files\\lcc\\lib\\projects.ini", "");
    EXPECT_EQ(world.Failure(OpenInWedit), std::nullopt);
    EXPECT_EQ(world.Only({"start"}),
              Lines(2, "start[3]: \"c:\\program files\\lcc\\bin\\wedit.exe\" c:\\work\\prog.c"));
}

TEST(PostBuild, TheProgramStartsByLinkModeAConsoleOneThroughTheSystemsCmd) {
    const std::string sys = "C:\\windows\\system32";
    const std::string cmd = "start[1]: " + sys + "\\cmd.exe /k ";
    using Mode = std::optional<LinkMode>;
    const std::tuple<Mode, std::string, std::string, std::string, std::string, std::string>
        cases[] = {
            // link mode, folder, base name, arguments, system folder, started ("": a failure)
            {LinkMode::Console, "c:\\work", "prog", "-v \"a b\"", sys, cmd + "prog.exe -v \"a b\""},
            {LinkMode::Console, "c:\\work", "prog", "", sys, cmd + "prog.exe "},
            {LinkMode::Console, "c:\\work", "prog", "x", "C:\\old",
             "start[1]: C:\\old\\command.com /k prog.exe x"},
            {LinkMode::Console, "c:\\work", "prog", "x", "", ""},
            {LinkMode::Gui, "c:\\work", "prog", "x", sys, "start[1]: c:\\work\\prog.exe"},
            {std::nullopt, "c:\\my work", "prog", "x", sys, "start[1]: \"c:\\my work\\prog.exe\""},
            {LinkMode::Console, "c:\\work", "my prog", "-v", sys, cmd + "\"my prog.exe\" -v"},
            {LinkMode::Console, "c:\\work", "my prog", "-v \"a b\"", sys,
             cmd + "\"\"my prog.exe\" -v \"a b\"\""},
            // a name cmd would split: one quoted word, in quotes cmd strips
            {LinkMode::Console, "c:\\work", "r&d", "arg1 >out.txt", sys,
             cmd + "\"\"r&d.exe\" arg1 >out.txt\""},
            {LinkMode::Console, "c:\\work", "a,b (2)", "", sys, cmd + "\"\"a,b (2).exe\" \""}};
    for (const auto& [mode, folder, baseName, arguments, system, start] : cases) {
        SCOPED_TRACE(start);
        BuiltWorld world;
        world.names = BuildNames{folder, baseName, baseName + ".bas"};
        world.options.linkMode = mode;
        world.options.commandLine = arguments;
        world.fake.system.directory = system;
        world.fake.files.AddFolder(folder);
        const std::optional<std::string> failure = world.Failure(RunBuiltProgram);
        EXPECT_EQ(world.Only({"start"}), start.empty() ? Lines{} : Lines{start});
        EXPECT_EQ(failure.has_value(), start.empty());
        EXPECT_EQ(world.Only({"chdir"}),
                  mode == LinkMode::Console ? Lines{"chdir: " + folder} : Lines{});
    }
}

TEST(ModifyConfigFile, RewritesTheFileLineByLine) {
    const std::string del = kDeleteMarker;
    const std::string breaks16 = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    const std::tuple<const char*, std::string, std::string, std::string, std::string> cases[] = {
        // name, before, setting, value, after
        {"every section, any case", "[a]\r\nprog=c:\\x\r\n[b]\r\nPROG=2\r\nother=3\r\n", "prog",
         del, "[a]\r\n[b]\r\nother=3\r\n"},
        {"the file's spelling stays", "Zap=old\r\n", "zAP", "new", "Zap=new\r\n"},
        {"leading spaces go", "  prog=1\r\nx=2\r\n", "prog", "v", "prog=v\r\nx=2\r\n"},
        {"a space before = belongs to the key", "prog =1\r\n", "prog", "v", "prog =1\r\n"},
        {"only the first = separates", "prog=a=b=c\r\n", "prog", "x=y", "prog=x=y\r\n"},
        {"lines without =", "prog\r\n[prog]\r\n", "prog", del, "prog\r\n[prog]\r\n"},
        {"the first line", "prog=1\r\na=2\r\n", "prog", del, "\r\na=2\r\n"},
        {"an unended last line", "a=2\r\nprog=1", "prog", del, "a=2\r\n"},
        {"16 breaks become one", "a=1" + breaks16 + "b=2", "zz", "v", "a=1\r\nb=2"},
        {"17 become two", "a=1" + breaks16 + "\r\nb=2", "zz", "v", "a=1\r\n\r\nb=2"},
        {"empty setting: default", "Default=1\r\nx=2\r\n", "", "9", "Default=9\r\nx=2\r\n"},
        {"empty value", "prog=1\r\n", "prog", "", "prog=\r\n"},
        {"the marker in capitals is a value", "prog=1\r\n", "prog", "*DELETE*",
         "prog=*DELETE*\r\n"},
        {"lone LF lines keep their ends", "[a]\nprog=1\nb=2\n\n\n", "prog", del, "[a]\nb=2\n"},
        {"mixed ends are not joined", "a=1\r\n\nb=2\n", "zz", "v", "a=1\r\n\nb=2\n"}};
    for (const auto& [name, before, setting, value, after] : cases) {
        SCOPED_TRACE(name);
        fakes::FakePlatform fake;
        fake.files.AddFile("c:\\p.ini", before);
        ModifyConfigFile(fake.files, "c:\\p.ini", setting, value);
        EXPECT_EQ(fake.files.Content("c:\\p.ini"), after);
    }
}

}  // namespace
}  // namespace ktv::testing
