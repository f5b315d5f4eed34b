#include <gtest/gtest.h>

#include "DiagnosticsFixture.h"
#include "diagnostics/ErrorReaders.h"

namespace ktv {
namespace {

using testing_support::Concat;
using testing_support::DiagnosticsFixture;
using testing_support::GoToLineKeys;
using Calls = std::vector<std::string>;

const std::string kErrFile = "c:\\work\\ktv.err";
const std::string kNotepadOpens[] = {
    "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas", "wait-ready: 101",
    "do-events x2", "activate-task: 101", "do-events x6"};

TEST(TranslatorErrors, NoReportLetsTheBuildGoOn) {
    for (const std::optional<std::string>& errFile :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(EditorChoice::Notepad);
        if (errFile) {
            fixture.fake.files.AddFile(kErrFile, *errFile);
        }
        EXPECT_TRUE(ShowBasicErrors(fixture.context, kErrFile));
        EXPECT_TRUE(fixture.Calls().empty());
    }
}

TEST(TranslatorErrors, TheFirstLineIsShownAndItsLastWordIsTheLine) {
    struct Case {
        std::string errFile;
        std::string box;
        std::string typed;  // empty: no line text
    };
    const Case cases[] = {
        {"Syntax error in line 12\r\nsecond line\r\n", "Syntax error in line 12", " 12"},
        {"Undefined  label foo at  7", "Undefined  label foo at  7", " 7"},
        {"Bad thing 12 and more", "Bad thing 12 and more", ""},
        {"Trailing space 5 ", "Trailing space 5 ", ""},
        {"Lone CR ends it 3\rnot this 9", "Lone CR ends it 3", " 3"},
    };
    for (const Case& c : cases) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(EditorChoice::Notepad);
        fixture.fake.files.AddFile(kErrFile, c.errFile);
        EXPECT_FALSE(ShowBasicErrors(fixture.context, kErrFile));
        EXPECT_EQ(fixture.Calls(),
                  Concat({{"box[64|Error!]: Basic Error: " + c.box},
                          Calls(std::begin(kNotepadOpens), std::end(kNotepadOpens)),
                          GoToLineKeys(c.typed)}))
            << c.errFile;
    }
}

TEST(TranslatorErrors, WithNoEditorChosenTheReportStillEndsTheRun) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kErrFile, "Syntax error 12\r\n");
    EXPECT_FALSE(ShowBasicErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: Basic Error: Syntax error 12"});
}

// A first line without a space names no line: it is shown whole and no
// editor is opened.
TEST(TranslatorErrors, ALineWithoutASpaceIsShownWithoutAnEditor) {
    for (const std::string errFile : {"Overflow\r\n", "\r\nsecond 4\r\n", "Tab\t12"}) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(EditorChoice::JFE);
        fixture.fake.files.AddFile(kErrFile, errFile);
        EXPECT_FALSE(ShowBasicErrors(fixture.context, kErrFile));
        const std::string firstLine = errFile.substr(0, errFile.find('\r'));
        EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: Basic Error: " + firstLine});
    }
}

// The report has been shown; an editor that fails must not end the program.
TEST(TranslatorErrors, ANotepadThatCannotStartLeavesTheReportStanding) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.processes.FailStartsContaining("notepad.exe");
    fixture.fake.files.AddFile(kErrFile, "Syntax error 12\r\n");
    bool shown = false;
    EXPECT_NO_THROW(shown = !ShowBasicErrors(fixture.context, kErrFile));
    EXPECT_TRUE(shown);
    EXPECT_EQ(fixture.Calls(),
              (Calls{"box[64|Error!]: Basic Error: Syntax error 12",
                     "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas"}));
}

TEST(TranslatorErrors, ANotepadThatNeverComesForwardGetsNoKeys) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.desktop.tasksWithoutWindow.insert(101);
    fixture.fake.files.AddFile(kErrFile, "Syntax error 12\r\n");
    EXPECT_FALSE(ShowBasicErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.fake.transcript.Only({"keys"}), Calls{});
}

}  // namespace
}  // namespace ktv
