// Opening the chosen editor on a Basic line: the start, the counted event
// passes of each timing, and keys typed only into the editor and its go-to box.

#include "World.h"
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
// not come in time ends the typing, so the document never gets the line.
TEST(EditorNavigation, TheLineWaitsForTheGoToBoxAndNothingMoreIsTypedWithoutIt) {
    const std::tuple<const char*, int, bool, Lines> cases[] = {
        {"box a moment later", 40, true, kLine12},
        {"no box", -1, true, {"keys: ^g"}},
        {"editor not back after Enter",
         1,
         false,
         {"keys: ^g", "box-keys:  12", "box-keys: {ENTER}"}}};
    for (const auto& [name, delay, comesBack, keys] : cases) {
        for (EditorChoice editor :
             {EditorChoice::Notepad, EditorChoice::JFE, EditorChoice::ConTEXT}) {
            SCOPED_TRACE(name);
            EditorWorld world(editor);
            world.fake.desktop.goToBoxDelay = delay;
            world.fake.desktop.editorComesBack = comesBack;
            DebugContext context = world.Context();
            OpenEditorAtLine(context, "12", NavigationTiming::Compiler);
            EXPECT_EQ(world.Only({"keys", "box-keys"}), keys);
        }
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
        EXPECT_EQ(world.Only({"activate-task"}),
                  Lines(startFails ? 0 : 5, "activate-task: 101 (not found)"));
    }
}

// JFE's and ConTEXT's failures are skipped (above); Notepad's reach the caller.
TEST(EditorNavigation, NotepadFailuresReachTheCaller) {
    EditorWorld notepad(EditorChoice::Notepad);
    notepad.fake.processes.failing = {"notepad.exe"};
    DebugContext context = notepad.Context();
    EXPECT_THROW(OpenEditorAtLine(context, "12", NavigationTiming::Compiler), StartFailed);
    notepad.fake.system.directory = "";
    notepad.fake.processes.failing.clear();
    EXPECT_THROW(OpenEditorAtLine(context, "12", NavigationTiming::Compiler), Error);
}

TEST(EditorNavigation, PathsWithSpacesAreQuotedAndWindowsLookedForUnquoted) {
    const std::tuple<EditorChoice, std::string, std::string, std::string> cases[] = {
        {EditorChoice::Notepad, "c:\\ktv", "c:\\my work\\a b.bas",
         "start[3]: C:\\windows\\system32\\notepad.exe \"c:\\my work\\a b.bas\""},
        {EditorChoice::JFE, "c:\\k t v", "c:\\my work\\a.bas",
         "start[2]: \"c:\\k t v\\bin\\jfe.exe\" \"c:\\my work\\a.bas\""},
        {EditorChoice::ConTEXT, "c:\\ktv", "c:\\my work\\a.bas",
         "start[2]: \"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" \"c:\\my work\\a.bas\""}};
    for (const auto& [editor, ktvPath, basicFile, start] : cases) {
        EditorWorld world(editor);
        world.options.ktvPath = ktvPath;
        world.options.basicFile = basicFile;
        DebugContext context = world.Context();
        OpenEditorAtLine(context, "4", NavigationTiming::Compiler);
        EXPECT_EQ(world.Only({"start"}), Lines{start});
        if (editor == EditorChoice::ConTEXT) {
            EXPECT_EQ(world.Only({"activate-title"})[0],
                      "activate-title: ConTEXT - [c:\\my work\\a.bas] (not found)");
        }
    }
}

TEST(EditorNavigation, AnOpenJfeWindowComesForwardByTheFirstTitleThatFitsAndJfeStillStarts) {
    EditorWorld world(EditorChoice::JFE);
    world.fake.desktop.windows["Jens' File Editor - [prog.bas]"] = TaskWindow{700, 70};
    world.fake.desktop.windows["Jens' File Editor - [c:\\work\\prog.bas]"] = TaskWindow{800, 80};
    DebugContext context = world.Context();
    OpenEditorAtLine(context, " 3", NavigationTiming::Translator);
    EXPECT_EQ(world.Only({"activate-title", "start"}),
              (Lines{"activate-title: Jens' File Editor - [prog.bas *] (not found)",
                     "activate-title: Jens' File Editor - [prog.bas]", kJfe}));
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
