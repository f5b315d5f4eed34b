// Opening the chosen editor on a Basic line: the start, the counted event
// passes of each timing, and keys typed only into the editor and its go-to box.

#include "World.h"
#include "debug/EditorCommands.h"
#include "debug/EditorNavigation.h"
#include "debug/SourceMarkers.h"
#include "text/Errors.h"

namespace ktv::testing {
namespace {

const std::string kNotepad = "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas";
const std::string kJfe = "start[2]: c:\\ktv\\bin\\jfe.exe c:\\work\\prog.bas";
const std::string kConText =
    "start[2]: \"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" c:\\work\\prog.bas";
const Lines kJfeTitlesNotFound{
    "activate-title: Jens' File Editor - [prog.bas *] (not found)",
    "activate-title: Jens' File Editor - [prog.bas] (not found)",
    "activate-title: Jens' File Editor - [c:\\work\\prog.bas] (not found)",
    "activate-title: Jens' File Editor - [c:\\work\\prog.bas *] (not found)"};
const Lines kLine12{"keys: ^g", "box-keys:  12", "box-keys: {ENTER}", "keys: {HOME}",
                    "keys: +{END}"};

Lines Concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// A world in the middle of a run of c:\work\prog.bas with this editor chosen.
struct EditorWorld : World {
    explicit EditorWorld(EditorChoice editor) {
        names = BuildNames{"c:\\work", "prog", "prog.bas"};
        ChooseEditor(editor);
    }
};

TEST(EditorNavigation, EachEditorIsStartedAndSteeredWithTheWaitsOfItsTiming) {
    using enum NavigationTiming;
    const Lines notepad{kNotepad, "wait-ready: 101", "do-events x2", "activate-task: 101",
                        "do-events x6"};
    const Lines conText{"activate-title: ConTEXT - [c:\\work\\prog.bas] (not found)", kConText,
                        "wait-ready: 101", "activate-task: 101", "do-events"};
    const Lines jfeStart = Concat({kJfeTitlesNotFound, {"do-events x2", kJfe, "wait-ready: 101"}});
    const std::tuple<EditorChoice, NavigationTiming, Lines> cases[] = {
        {EditorChoice::Notepad, Compiler, notepad},
        {EditorChoice::Notepad, Translator, notepad},
        {EditorChoice::JFE, Compiler,
         Concat({jfeStart, {"do-events x3", "activate-task: 101", "do-events x6"}})},
        {EditorChoice::JFE, Translator, Concat({jfeStart, {"activate-task: 101", "do-events"}})},
        {EditorChoice::ConTEXT, Compiler, conText},
        {EditorChoice::ConTEXT, Translator, conText},
        {EditorChoice::None, Compiler, {}}};
    for (const auto& [editor, timing, steps] : cases) {
        SCOPED_TRACE(static_cast<int>(editor) * 10 + static_cast<int>(timing));
        EditorWorld world(editor);
        DebugContext context = world.Context();
        OpenEditorAtLine(context, timing == Translator ? " 12" : "12", timing);
        EXPECT_EQ(world.Calls(), steps.empty() ? Lines{} : Concat({steps, kLine12}));
    }
}

// Real editors open their go-to box a moment after Ctrl+G. The line and Enter
// wait for the box, Home and Shift+End for the editor to be back; what does
// not come in time ends the typing, so the document never gets the line. A
// question the editor asks instead of the box gets no key: once answered,
// Ctrl+G goes once more.
TEST(EditorNavigation, TheLineWaitsForTheGoToBoxAndNothingMoreIsTypedWithoutIt) {
    const Lines twice = Concat({{"keys: ^g"}, kLine12});
    struct Case {
        const char* name;
        int boxDelay;
        bool editorComesBack;
        int questionsFirst;
        int looksUntilAnswered;
        int boxFieldLooks;
        Lines keys;
    };
    const Case cases[] = {
        {"box a moment later", 40, true, 0, 0, 0, kLine12},
        {"the box's field takes the focus a moment after the box", 1, true, 0, 0, 1, kLine12},
        {"no box", -1, true, 0, 0, 0, {"keys: ^g"}},
        {"editor not back after Enter",
         1,
         false,
         0,
         0,
         0,
         {"keys: ^g", "box-keys:  12", "box-keys: {ENTER}"}},
        {"a question, answered", 1, true, 1, 300, 0, twice},
        {"a question never answered", 1, true, 1, -1, 0, {"keys: ^g"}},
        {"a question each time", 1, true, 2, 3, 0, {"keys: ^g", "keys: ^g"}}};
    for (const Case& c : cases) {
        for (EditorChoice editor :
             {EditorChoice::Notepad, EditorChoice::JFE, EditorChoice::ConTEXT}) {
            SCOPED_TRACE(c.name);
            EditorWorld world(editor);
            world.fake.desktop.goToBoxDelay = c.boxDelay;
            world.fake.desktop.editorComesBack = c.editorComesBack;
            world.fake.desktop.questionsFirst = c.questionsFirst;
            world.fake.desktop.questionLooks = c.looksUntilAnswered;
            world.fake.desktop.boxFieldLooks = c.boxFieldLooks;
            DebugContext context = world.Context();
            OpenEditorAtLine(context, "12", NavigationTiming::Compiler);
            EXPECT_EQ(world.Only({"keys", "box-keys"}), c.keys);
        }
    }
}

// A framework program's window hands its activation on to its main window:
// the editor's window is the one in front once activation has settled, and
// it gets Ctrl+G, Home and Shift+End.
TEST(EditorNavigation, TheEditorsWindowIsTheOneInFrontOnceActivationHasSettled) {
    for (EditorChoice editor : {EditorChoice::Notepad, EditorChoice::JFE, EditorChoice::ConTEXT}) {
        EditorWorld world(editor);
        world.fake.desktop.handsActivationTo[101] = 1015;
        DebugContext context = world.Context();
        OpenEditorAtLine(context, "12", NavigationTiming::Compiler);
        EXPECT_EQ(world.Only({"keys", "box-keys"}), kLine12);
        EXPECT_EQ(world.fake.desktop.front.window, 1015u);
    }
}

// A single-instance editor hands the file to its open window and ends at
// once: the keys go to that window, found by its titles; with no editor
// window anywhere, none go anywhere. Notepad is never looked for by title.
TEST(EditorNavigation, AStartedEditorWithoutAWindowGetsKeysOnlyThroughItsTitles) {
    const std::tuple<EditorChoice, std::string, bool, bool> cases[] = {
        // editor, an open window's title, the start fails, keys typed
        {EditorChoice::JFE, "Jens' File Editor - [c:\\work\\prog.bas]", false, true},
        {EditorChoice::JFE, "Jens' File Editor - [prog.bas *]", true, true},
        {EditorChoice::ConTEXT, "ConTEXT - [c:\\work\\prog.bas]", false, true},
        {EditorChoice::JFE, "", false, false},
        {EditorChoice::ConTEXT, "", true, false},
        {EditorChoice::Notepad, "prog.bas - Notepad", false, false}};
    for (const auto& [editor, title, startFails, typed] : cases) {
        SCOPED_TRACE(title);
        EditorWorld world(editor);
        world.fake.desktop.tasksWithoutWindow.insert(101);
        world.fake.desktop.front = TaskWindow{4242, 42};  // another program's window
        world.fake.desktop.windows[title] = TaskWindow{700, 70};
        if (startFails) {
            world.fake.processes.failing = {".exe"};
        }
        DebugContext context = world.Context();
        EXPECT_NO_THROW(OpenEditorAtLine(context, "12", NavigationTiming::Compiler));
        EXPECT_EQ(world.Only({"keys", "box-keys"}), typed ? kLine12 : Lines{});
        EXPECT_EQ(world.Boxes().size(), startFails ? 1u : 0u);  // "Could not start JFE: ..."
        EXPECT_EQ(world.Only({"activate-task"}),
                  Lines(startFails ? 0 : 5, "activate-task: 101 (not found)"));
    }
}

// The user's own editor gets the file and the line on its command line, as
// the template says: no key, no window search; what cannot start is told.
TEST(EditorNavigation, MyEditorStartsWithTheLineOnItsCommandLineAndNoKey) {
    const std::string file = "c:\\my {line}\\prog.bas";
    const std::tuple<std::string, std::string, Lines> cases[] = {
        // template, Basic line, what happens
        {"\"c:\\np\\np.exe\" -n{line} \"{file}\"",
         "12",
         {"start[1]: \"c:\\np\\np.exe\" -n12 \"c:\\my {line}\\prog.bas\""}},
        {"e.exe {file}:{line} -x{line}", " 7", {"start[1]: e.exe c:\\my {line}\\prog.bas:7 -x7"}},
        {"e.exe {file} {line}", "x", {"start[1]: e.exe c:\\my {line}\\prog.bas 1"}},
        {"e.exe -n{line}",
         "12",
         {"box[48|Error!]: Error: The command for your editor has no {file}"}},
        {"  ", "12", {"box[48|Error!]: Error: There is no command for your editor."}},
        {"missing.exe {file}",
         "12",
         {"start[1]: missing.exe c:\\my {line}\\prog.bas",
          "box[48|Error!]: Error: Could not start your editor: Cannot start missing.exe"}}};
    for (const auto& [command, line, calls] : cases) {
        SCOPED_TRACE(command);
        EditorWorld world(EditorChoice::MyEditor);
        world.options.basicFile = file;
        world.options.editorCommand = command;
        world.fake.processes.failing = {"missing.exe"};
        DebugContext context = world.Context();
        OpenEditorAtLine(context, line, NavigationTiming::Compiler);
        const Lines seen = world.Calls();
        ASSERT_EQ(seen.size(), calls.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_TRUE(seen[i].starts_with(calls[i])) << seen[i];
        }
    }
}

// The editors found on the machine: registered in App Paths (the user's own
// first, quotes taken off) or in their usual folders, each with its own line
// option; an editor picked by its file gets its option too.
TEST(EditorCommands, InstalledEditorsAreFoundAndGetTheirLineOptions) {
    World world;
    const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    world.fake.registry.strings[{RegistryRoot::LocalMachine, appPaths + "gvim.exe\\"}] =
        "\"d:\\vim\\gvim.exe\"";
    world.fake.registry.strings[{RegistryRoot::CurrentUser, appPaths + "notepad++.exe\\"}] =
        "d:\\gone\\notepad++.exe";  // registered, but not there
    for (const char* program :
         {"d:\\vim\\gvim.exe", "C:\\Program Files (x86)\\Notepad++\\notepad++.exe",
          "c:\\users\\me\\AppData\\Local\\Programs\\Microsoft VS Code\\Code.exe",
          "C:\\Program Files\\IDM Computer Solutions\\UltraEdit\\uedit64.exe"}) {
        world.fake.files.AddFile(program, "MZ");
    }
    EXPECT_EQ(FindInstalledEditors(world.fake.platform),
              (Lines{"\"C:\\Program Files (x86)\\Notepad++\\notepad++.exe\" -n{line} \"{file}\"",
                     "\"c:\\users\\me\\AppData\\Local\\Programs\\Microsoft VS Code\\Code.exe\" "
                     "--goto \"{file}:{line}\"",
                     "\"d:\\vim\\gvim.exe\" +{line} \"{file}\"",
                     "\"C:\\Program Files\\IDM Computer Solutions\\UltraEdit\\uedit64.exe\" "
                     "\"{file}/{line}\""}));
    EXPECT_EQ(EditorCommandFor("c:\\e\\GEANY.exe"),
              "\"c:\\e\\GEANY.exe\" --line={line} \"{file}\"");
    EXPECT_EQ(EditorCommandFor("c:\\e\\other.exe"), "\"c:\\e\\other.exe\" \"{file}\"");
}

// The marker line, its rewrite and JFE showing the changed file.
TEST(SourceMarkers, AFileWithoutAMarkerLineGetsOneOnTopAfterTheBox) {
    const std::string marker = "$SOURCE     '  Inserted by KTV Debugger\r\n";
    // the file before and after (nothing: left alone)
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"PRINT 1\r\n   $source\r\n", std::nullopt},
        {"$SOURCES\r\n", std::nullopt},
        {"PRINT 1\r\n$SOURCE and more", std::nullopt},
        {"\t$SOURCE\r\nx", marker + "\t$SOURCE\r\nx\r\n"},
        {"", marker},
        {" a \rb\nc", marker + " a \r\nb\nc\r\n"}};
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        World world;
        world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
        world.fake.files.AddFile("c:\\work\\prog.bas", before);
        std::optional<std::string> atBox;
        world.fake.desktop.onMessageBox = [&](const std::string&) {
            atBox = world.fake.files.Content("c:\\work\\prog.bas");
        };
        DebugContext context = world.Context();
        EXPECT_EQ(InsertSourceMarkers(context, "c:\\work\\prog.bas"), after.has_value());
        EXPECT_EQ(world.fake.files.Content("c:\\work\\prog.bas"), after.value_or(before));
        if (after) {
            EXPECT_EQ(atBox, before);  // told first, written after
            EXPECT_EQ(world.Calls(),
                      Concat({{"box[64|Modified Basic File]: KTV Debugger is about to modify your "
                               "basic file\r\nso it will output debug information. \r\n\r\n"
                               "Please run Debug again, after JFE activates\r\n\r\n"
                               "If JFE asks you to reload the file, click yes",
                               "write-file: c:\\work\\prog.bas"},
                              kJfeTitlesNotFound,
                              {"do-events x2", kJfe, "do-events x5"}}));
        } else {
            EXPECT_TRUE(world.Calls().empty());
        }
    }
}

TEST(SourceMarkers, AFailedRewriteLeavesTheFileAndReachesTheCallerAndNoJfeIsNoFailure) {
    World world;
    world.fake.files.AddFile("c:\\work\\prog.bas", "PRINT 1\r\n");
    world.fake.files.FailOn(fakes::FsOp::Write);
    DebugContext context = world.Context();
    EXPECT_THROW(InsertSourceMarkers(context, "c:\\work\\prog.bas"), FileError);
    EXPECT_EQ(world.fake.files.Content("c:\\work\\prog.bas"), "PRINT 1\r\n");
    EXPECT_THROW(InsertSourceMarkers(context, "c:\\work\\gone.bas"), FileError);
    world.fake.processes.failing = {"jfe.exe"};
    EXPECT_TRUE(InsertSourceMarkers(context, "c:\\work\\prog.bas"));
}

}  // namespace
}  // namespace ktv::testing
