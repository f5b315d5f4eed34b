// ktvbuild: its arguments, and the Debug build on the console.

#include <sstream>

#include "World.h"
#include "cli/CommandLineBuild.h"
#include "debug/Problems.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

TEST(CommandLineBuild, ArgumentsOverrideTheSettingsAndBadOnesSayWhy) {
    const BuildArguments parsed =
        ParseBuildArguments({"--lcc", "d:\\lcc", "--ktv", "d:\\ktv", "--libs", "a.lib", "--dll",
                             "--warnings", "--insert-marker", "p.bas"});
    EXPECT_EQ(parsed.basicFile + *parsed.lccPath + *parsed.ktvPath + *parsed.libraries,
              "p.basd:\\lccd:\\ktva.lib");
    EXPECT_TRUE(parsed.linkMode == LinkMode::Dll && parsed.checkWarnings == true &&
                parsed.insertMarker && !parsed.languageServer);
    EXPECT_TRUE(ParseBuildArguments({"--lsp", "--lcc", "d:\\lcc"}).languageServer);
    for (const char* help : {"--help", "-h", "/?"}) {
        EXPECT_TRUE(ParseBuildArguments({help}).help) << help;
    }
    EXPECT_EQ(ParseBuildArguments({"--gui", "--console", "p.bas"}).linkMode, LinkMode::Console);
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{}, "no Basic file given"},
        {{"p.bas", "--lcc"}, "--lcc needs a value"},
        {{"--gui", "-x", "p.bas"}, "unknown option -x"},
        {{"a.bas", "b.bas"}, "more than one Basic file: a.bas and b.bas"},
        {{"--lsp", "a.bas"}, "--lsp builds the files an editor names, not a.bas"}};
    for (const auto& [arguments, message] : bad) {
        try {
            ParseBuildArguments(arguments);
            ADD_FAILURE() << message;
        } catch (const InvalidArgument& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
}

// The world's tools; the settings file beside the program names other LCC
// and KTV directories and a GUI link, which the arguments may override.
TEST(CommandLineBuild, PrintsEveryProblemOrTheProgramAndExitsBySeverity) {
    using Arrange = std::function<void(World&, BuildArguments&)>;
    const std::string bas = "c:\\work\\prog.bas:";
    const std::tuple<Arrange, BuildExit, std::string> cases[] = {
        {[](World&, BuildArguments&) {}, kBuilt, "ktvbuild: built c:\\work\\prog.exe\n"},
        {[](World& w, BuildArguments&) {
             w.compilerLines = {"warning prog.c: 4 w", "error prog.c: 6 e"};
         },
         kSourceProblems, bas + "2: warning: w\n" + bas + "3: error: e\n"},
        {[](World& w, BuildArguments&) { w.compilerLines = {"warning prog.c: 4 w"}; }, kBuilt,
         bas + "2: warning: w\nktvbuild: built c:\\work\\prog.exe\n"},
        {[](World& w, BuildArguments& a) {
             w.compilerLines = {"warning prog.c: 4 w"};
             a.checkWarnings = true;
         },
         kSourceProblems, bas + "2: warning: w\n"},
        {[](World& w, BuildArguments&) {
             w.compilerLines = {"warning prog.c: 4 w"};
             w.fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg", "cwarn=1\r\n");
         },
         kSourceProblems, bas + "2: warning: w\n"},
        {[](World& w, BuildArguments&) { w.translatorError = "Syntax error 3"; }, kSourceProblems,
         bas + "3: error: Syntax error 3\n"},
        {[](World&, BuildArguments& a) { a.libraries = "gone.lib"; }, kNotBuilt,
         "ktvbuild: error: KTV Debugger cannot find one or more of your include libraries.\n"},
        {[](World& w, BuildArguments&) { w.fake.processes.failing = {"lcclnk"}; }, kNotBuilt,
         "ktvbuild: error: Could not run Linker. Command was: \"c:\\lcc\\bin\\lcclnk.exe\" -o "
         "prog.exe -subsystem console -s prog.obj  \n"},
        {[](World&, BuildArguments& a) { a.basicFile = "c:\\work\\gone.bas"; }, kNotBuilt,
         "ktvbuild: error: Bad Basic Filename\n"}};
    for (const auto& [arrange, exit, printed] : cases) {
        SCOPED_TRACE(printed);
        World world;
        world.fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg",
                                 "lccpath=c:\\old\r\nktvpath=c:\\old\r\ngui=True\r\nrun=1\r\n");
        BuildArguments arguments;
        arguments.basicFile = "c:\\work\\prog.bas";
        arguments.lccPath = "c:\\lcc";
        arguments.ktvPath = "c:\\ktv";
        arguments.linkMode = LinkMode::Console;
        arrange(world, arguments);
        std::ostringstream out;
        std::ostringstream notes;
        EXPECT_EQ(RunCommandLineBuild(arguments, world.fake.platform, world.run, out, notes), exit);
        EXPECT_EQ(out.str(), printed);
        EXPECT_EQ(notes.str(), "");  // the Basic file has its marker line
        EXPECT_TRUE(world.Only({"box", "start", "keys", "buttons", "registry"}).empty());
        EXPECT_TRUE(world.Only({"run-hidden: \"c:\\old"}).empty());  // the arguments' directories
        EXPECT_FALSE(world.fake.files.FileExists("c:\\work\\lcc.err"));
    }
}

TEST(CommandLineBuild, TheBasicFileChangesOnlyWhenTheMarkerIsAskedFor) {
    for (const bool insert : {false, true}) {
        World world;
        world.fake.files.AddFile("c:\\work\\prog.bas", "PRINT 1\r\n");
        BuildArguments arguments;
        arguments.basicFile = "c:\\work\\prog.bas";
        arguments.lccPath = "c:\\lcc";
        arguments.insertMarker = insert;
        std::ostringstream out;
        std::ostringstream notes;
        EXPECT_EQ(RunCommandLineBuild(arguments, world.fake.platform, world.run, out, notes),
                  kBuilt);
        EXPECT_EQ(
            world.fake.files.Content("c:\\work\\prog.bas"),
            insert ? "$SOURCE     '  Inserted by KTV Debugger\r\nPRINT 1\r\n" : "PRINT 1\r\n");
        EXPECT_EQ(notes.str(), insert ? "ktvbuild: added the $SOURCE line to c:\\work\\prog.bas\n"
                                      : "ktvbuild: note: c:\\work\\prog.bas has no $SOURCE line, "
                                        "so C problems point into the C file (--insert-marker "
                                        "adds it)\n");
    }
}

// The window's Debug and ktvbuild read the same error files into the same
// problems, and agree on whether the program is built.
TEST(CommandLineBuild, AgreesWithTheWindowOnEveryProblemAndTheVerdict) {
    const std::tuple<std::string, Lines, bool> cases[] = {
        // ktv.err, lcc.err, warnings checked
        {"Syntax error 2\r\n  Unknown word here 3", {}, false},
        {"", {"error prog.c: 4 e", "lcc: 2 errors", "warning prog.c: 6  w"}, false},
        {"", {"warning prog.c: 4 a", "warning prog.c: 6 b"}, false},
        {"", {"warning prog.c: 4 a", "Warning prog.c: 999 b"}, true},
        {"", {"error prog.c: x", "error prog.c: 999 far"}, false},
        {"", {"ERROR prog.c: 998 a\tb", "error prog.c: 999 c"}, false},
        {"",
         {"Error c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'",
          "error c:\\My Work\\prog.c: 3 other", "error prog.c: 4 e"},
         false},
        {"", {}, false}};
    for (const auto& [translator, compiler, warnings] : cases) {
        SCOPED_TRACE(translator + (compiler.empty() ? "" : compiler[0]));
        World window;
        World console;
        for (World* world : {&window, &console}) {
            world->translatorError = translator;
            world->compilerLines = compiler;
        }
        window.options.checkWarnings = warnings;
        window.PressDebug();
        BuildArguments arguments{"c:\\work\\prog.bas", "c:\\lcc", "c:\\ktv", {},
                                 LinkMode::Console,    warnings};
        std::ostringstream out;
        std::ostringstream notes;
        const BuildExit exit =
            RunCommandLineBuild(arguments, console.fake.platform, console.run, out, notes);

        const bool built = !window.Only({"box[64|Success!]"}).empty();
        EXPECT_EQ(built, exit == kBuilt);
        Lines printed;
        std::istringstream lines(out.str());
        for (std::string line; std::getline(lines, line);) {
            if (!line.starts_with("ktvbuild: built")) {
                printed.push_back(line);
            }
        }
        if (!built && printed.size() > 1) {
            ASSERT_EQ(window.listed.size(), 1u);
            Lines listed;
            for (const Problem& problem : window.listed[0].problems) {
                listed.push_back(ProblemLine(problem, window.listed[0]));
            }
            EXPECT_EQ(listed, printed);
        }
    }
}

}  // namespace
}  // namespace ktv::testing
