#include <gtest/gtest.h>

#include "DiagnosticsFixture.h"
#include "diagnostics/EditorNavigation.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using testing_support::Concat;
using testing_support::DiagnosticsFixture;
using testing_support::GoToLineKeys;
using testing_support::JfeTitlesNotFound;
using Calls = std::vector<std::string>;

const std::string kNotepad = "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas";
const std::string kJfe = "start[2]: c:\\ktv\\bin\\jfe.exe c:\\work\\prog.bas";
const std::string kConText =
    "start[2]: \"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" c:\\work\\prog.bas";
const std::string kConTextTitle = "activate-title: ConTEXT - [c:\\work\\prog.bas] (not found)";

TEST(EditorNavigation, EachEditorIsStartedAndSteeredWithItsTiming) {
    struct Case {
        EditorChoice editor;
        NavigationTiming timing;
        Calls calls;
    };
    const Case cases[] = {
        {EditorChoice::Notepad, NavigationTiming::Compiler,
         Concat(
             {{kNotepad, "wait-ready: 101", "do-events x2", "activate-task: 101", "do-events x6"},
              GoToLineKeys(" 12")})},
        {EditorChoice::Notepad, NavigationTiming::Translator,
         Concat(
             {{kNotepad, "wait-ready: 101", "do-events x2", "activate-task: 101", "do-events x6"},
              GoToLineKeys(" 12")})},
        {EditorChoice::JFE, NavigationTiming::Compiler,
         Concat({JfeTitlesNotFound(),
                 {"do-events x2", kJfe, "wait-ready: 101", "do-events x3", "activate-task: 101",
                  "do-events x6"},
                 GoToLineKeys(" 12")})},
        {EditorChoice::JFE, NavigationTiming::Translator,
         Concat({JfeTitlesNotFound(),
                 {"do-events x2", kJfe, "wait-ready: 101", "activate-task: 101", "do-events"},
                 GoToLineKeys(" 12")})},
        {EditorChoice::ConTEXT, NavigationTiming::Compiler,
         Concat({{kConTextTitle, kConText, "wait-ready: 101", "activate-task: 101", "do-events"},
                 GoToLineKeys(" 12")})},
        {EditorChoice::ConTEXT, NavigationTiming::Translator,
         Concat({{kConTextTitle, kConText, "wait-ready: 101", "activate-task: 101", "do-events"},
                 GoToLineKeys(" 12")})},
    };
    for (const Case& c : cases) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(c.editor);
        // The translator hands over " 12", the compiler path "12": both type " 12".
        const std::string basicLine = c.timing == NavigationTiming::Translator ? " 12" : "12";
        OpenEditorAtLine(fixture.context, basicLine, c.timing);
        EXPECT_EQ(fixture.Calls(), c.calls)
            << static_cast<int>(c.editor) << "/" << static_cast<int>(c.timing);
    }
}

TEST(EditorNavigation, NoEditorChosenDoesNothing) {
    DiagnosticsFixture fixture;
    OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler);
    EXPECT_TRUE(fixture.Calls().empty());
}

TEST(EditorNavigation, AnOpenJfeWindowIsActivatedAndJfeStillStarted) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::JFE);
    fixture.fake.desktop.windowTitles.insert("Jens' File Editor - [prog.bas]");
    OpenEditorAtLine(fixture.context, " 3", NavigationTiming::Translator);
    EXPECT_EQ(fixture.Calls(),
              Concat({{"activate-title: Jens' File Editor - [prog.bas *] (not found)",
                       "activate-title: Jens' File Editor - [prog.bas]", "do-events x2", kJfe,
                       "wait-ready: 101", "activate-task: 101", "do-events"},
                      GoToLineKeys(" 3")}));
}

TEST(EditorNavigation, WithoutALineNumberJfeAndConTextGetTheOtherKeys) {
    for (EditorChoice editor : {EditorChoice::JFE, EditorChoice::ConTEXT, EditorChoice::Notepad}) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(editor);
        OpenEditorAtLine(fixture.context, " foo", NavigationTiming::Translator);
        EXPECT_EQ(fixture.fake.transcript.Only({"keys:", "box-keys:"}), GoToLineKeys(""));
    }
}

TEST(EditorNavigation, OnlyDigitsAreTypedAsTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"27", " 27"}, {" 27", " 27"}, {"007", " 7"},       {"  5  ", " 5"},
        {"-5", ""},    {"+5", ""},     {"1e3", ""},         {"^{F4}", ""},
        {"", ""},      {" ", ""},      {"99999999999", ""},
    };
    for (const auto& [basicLine, typed] : cases) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(EditorChoice::ConTEXT);
        OpenEditorAtLine(fixture.context, basicLine, NavigationTiming::Compiler);
        EXPECT_EQ(fixture.fake.transcript.Only({"keys:", "box-keys:"}), GoToLineKeys(typed))
            << basicLine;
    }
}

TEST(EditorNavigation, PathsWithSpacesAreQuotedOnTheCommandLine) {
    struct Case {
        EditorChoice editor;
        std::string ktvPath;
        std::string basicFile;
        std::string start;
    };
    const Case cases[] = {
        {EditorChoice::Notepad, "c:\\ktv", "c:\\my work\\a b.bas",
         "start[3]: C:\\windows\\system32\\notepad.exe \"c:\\my work\\a b.bas\""},
        {EditorChoice::JFE, "c:\\program files\\ktv", "c:\\w\\a.bas",
         "start[2]: \"c:\\program files\\ktv\\bin\\jfe.exe\" c:\\w\\a.bas"},
        {EditorChoice::JFE, "c:\\k t v", "c:\\my work\\a.bas",
         "start[2]: \"c:\\k t v\\bin\\jfe.exe\" \"c:\\my work\\a.bas\""},
        {EditorChoice::ConTEXT, "c:\\ktv", "c:\\my work\\a.bas",
         "start[2]: \"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" \"c:\\my work\\a.bas\""},
    };
    for (const Case& c : cases) {
        DiagnosticsFixture fixture;
        fixture.form.Txt_KtvPath.SetText(c.ktvPath);
        fixture.form.Txt_BasFile.SetText(c.basicFile);
        fixture.ChooseEditor(c.editor);
        OpenEditorAtLine(fixture.context, "4", NavigationTiming::Compiler);
        EXPECT_EQ(fixture.fake.transcript.Only({"start"}), Calls{c.start});
    }
}

TEST(EditorNavigation, ConTextWindowIsLookedForByTheUnquotedPath) {
    DiagnosticsFixture fixture;
    fixture.form.Txt_BasFile.SetText("c:\\my work\\a.bas");
    fixture.ChooseEditor(EditorChoice::ConTEXT);
    OpenEditorAtLine(fixture.context, "4", NavigationTiming::Compiler);
    EXPECT_EQ(fixture.fake.transcript.Only({"activate-title"}),
              Calls{"activate-title: ConTEXT - [c:\\my work\\a.bas] (not found)"});
}

// A started editor whose window does not come forward gets no keys: they
// would land in whatever window happens to be in front.
TEST(EditorNavigation, KeysGoOnlyToAnEditorThatCameForward) {
    for (EditorChoice editor : {EditorChoice::Notepad, EditorChoice::JFE, EditorChoice::ConTEXT}) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(editor);
        fixture.fake.processes.readyAnswer = false;
        fixture.fake.desktop.tasksWithoutWindow.insert(101);
        EXPECT_NO_THROW(OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler));
        EXPECT_EQ(fixture.fake.transcript.Only({"activate-task", "keys", "box-keys"}),
                  Calls(5, "activate-task: 101 (not found)"));
    }
}

// A desktop on which the started editor's window shows up only at the third try.
class LateWindowDesktop : public fakes::FakeDesktop {
public:
    using FakeDesktop::FakeDesktop;
    TaskWindow ActivateByTask(TaskId task) override {
        if (++tries_ == 3) {
            tasksWithoutWindow.clear();
        }
        return FakeDesktop::ActivateByTask(task);
    }

private:
    int tries_ = 0;
};

TEST(EditorNavigation, ALateWindowIsActivatedOnALaterTry) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    LateWindowDesktop desktop(fixture.fake.transcript);
    desktop.tasksWithoutWindow.insert(101);
    Platform platform{fixture.fake.processes, desktop, fixture.fake.files, fixture.fake.registry,
                      fixture.fake.system};
    DebugContext context{fixture.form, fixture.run, platform, 0};
    OpenEditorAtLine(context, "12", NavigationTiming::Compiler);
    EXPECT_EQ(fixture.Calls(), Concat({{kNotepad, "wait-ready: 101", "do-events x2",
                                        "activate-task: 101 (not found)", "do-events",
                                        "activate-task: 101 (not found)", "do-events",
                                        "activate-task: 101", "do-events x6"},
                                       GoToLineKeys(" 12")}));
}

TEST(EditorNavigation, AJfeOrConTextThatCannotStartIsPassedOverWithoutKeys) {
    for (EditorChoice editor : {EditorChoice::JFE, EditorChoice::ConTEXT}) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(editor);
        fixture.fake.processes.FailStartsContaining(".exe");
        EXPECT_NO_THROW(OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler));
        EXPECT_EQ(fixture.fake.transcript.Only({"activate-task", "keys", "box-keys", "wait-ready"}),
                  Calls{});
    }
}

TEST(EditorNavigation, ANotepadThatCannotStartFailsToTheCaller) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.processes.FailStartsContaining("notepad.exe");
    EXPECT_THROW(OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler), StartFailed);
    EXPECT_EQ(fixture.Calls(), Calls{kNotepad});
}

// Real editors open their go-to box a moment after Ctrl+G. The line and
// Enter wait for the box, Home and Shift+End for the editor to be back; what
// does not come in time ends the typing, so the document never gets the line.
TEST(EditorNavigation, TheLineWaitsForTheGoToBoxAndNothingMoreIsTypedWithoutIt) {
    struct Case {
        const char* name;
        int boxDelay;
        int backAfterEnter;  // -1: the editor does not come back in front
        Calls keys;
    };
    const Case cases[] = {
        {"box at once", 1, 1, GoToLineKeys(" 12")},
        {"box a moment later", 40, 40, GoToLineKeys(" 12")},
        {"no box", -1, 0, Calls{"keys: ^g"}},
        {"editor not back after Enter", 1, -1,
         Calls{"keys: ^g", "box-keys:  12", "box-keys: {ENTER}"}},
    };
    for (const Case& c : cases) {
        for (EditorChoice editor :
             {EditorChoice::Notepad, EditorChoice::JFE, EditorChoice::ConTEXT}) {
            SCOPED_TRACE(std::string(c.name) + " / " + std::to_string(static_cast<int>(editor)));
            DiagnosticsFixture fixture;
            fixture.ChooseEditor(editor);
            fixture.fake.desktop.goToBoxDelay = c.boxDelay;
            fixture.fake.desktop.editorComesBack = c.backAfterEnter >= 0;
            OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler);
            EXPECT_EQ(fixture.fake.transcript.Only({"keys:", "box-keys:"}), c.keys);
        }
    }
}

// A single-instance editor hands the file to its open window and ends at
// once: the started task has no window, and the keys go to the open one,
// found by its titles. With no editor window anywhere, the window in front
// (another program's) gets none.
TEST(EditorNavigation, ASingleInstanceEditorsOpenWindowGetsTheKeys) {
    struct Case {
        EditorChoice editor;
        std::string openTitle;  // empty: no editor window anywhere
        bool keys;
    };
    const Case cases[] = {
        {EditorChoice::JFE, "Jens' File Editor - [c:\\work\\prog.bas]", true},
        {EditorChoice::JFE, "Jens' File Editor - [prog.bas *]", true},
        {EditorChoice::ConTEXT, "ConTEXT - [c:\\work\\prog.bas]", true},
        {EditorChoice::JFE, "", false},
        {EditorChoice::ConTEXT, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.openTitle);
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(c.editor);
        fixture.fake.desktop.tasksWithoutWindow.insert(101);
        fixture.fake.desktop.front = TaskWindow{4242, 42};  // another program's window
        if (!c.openTitle.empty()) {
            fixture.fake.desktop.windows[c.openTitle] = TaskWindow{700, 70};
        }
        OpenEditorAtLine(fixture.context, "12", NavigationTiming::Compiler);
        EXPECT_EQ(fixture.fake.transcript.Only({"keys:", "box-keys:"}),
                  c.keys ? GoToLineKeys(" 12") : Calls{});
        if (c.keys) {
            EXPECT_EQ(fixture.fake.desktop.front, (TaskWindow{700, 70}));
        }
    }
}

TEST(EditorNavigation, NotepadWinOverTheOthersAndJfeGoesBeforeConText) {
    DiagnosticsFixture fixture;
    fixture.form.Chk_Jen.SetHandler(nullptr);
    fixture.form.Chk_Con.SetHandler(nullptr);
    fixture.form.Chk_Jen.SetState(CheckState::Checked);
    fixture.form.Chk_Con.SetState(CheckState::Checked);
    OpenEditorAtLine(fixture.context, "1", NavigationTiming::Translator);
    EXPECT_EQ(fixture.fake.transcript.Only({"start"}), (Calls{kJfe, kConText}));

    fixture.fake.transcript.Clear();
    fixture.form.Chk_Note.SetHandler(nullptr);
    fixture.form.Chk_Note.SetState(CheckState::Checked);
    OpenEditorAtLine(fixture.context, "1", NavigationTiming::Translator);
    EXPECT_EQ(fixture.fake.transcript.Only({"start"}), Calls{kNotepad});
}

TEST(EditorNavigation, AGrayedBoxDoesNotChooseAnEditor) {
    DiagnosticsFixture fixture;
    fixture.form.Chk_Note.SetState(CheckState::Grayed);
    fixture.form.Chk_Jen.SetState(CheckState::Grayed);
    OpenEditorAtLine(fixture.context, "1", NavigationTiming::Translator);
    EXPECT_TRUE(fixture.Calls().empty());
}

TEST(EditorNavigation, WordWrapGuardWritesZeroForTheUser) {
    fakes::FakePlatform fake;
    ApplyNotepadWordWrapGuard(fake.registry);
    EXPECT_EQ(fake.transcript.Entries(),
              Calls{"registry: HKCU\\Software\\Microsoft\\Notepad\\fWrap = 0"});
}

}  // namespace
}  // namespace ktv
