#include <gtest/gtest.h>

#include "DiagnosticsFixture.h"
#include "diagnostics/ErrorReaders.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using testing_support::Concat;
using testing_support::DiagnosticsFixture;
using testing_support::GoToLineKeys;
using Calls = std::vector<std::string>;

const std::string kErrFile = "c:\\work\\lcc.err";
const std::string kCFile = "c:\\work\\prog.c";

// A C file of 60 lines with references to Basic line 10 at line 5 and Basic
// line 30 at line 40.
std::string CFile() {
    std::string text;
    for (int line = 1; line <= 60; ++line) {
        text += line == 5 ? "// [10]" : line == 40 ? "  // [30]" : "x = " + std::to_string(line);
        text += "\r\n";
    }
    return text;
}

std::string Unmapped(std::string_view headline, std::string_view reported, std::string_view message,
                     std::string_view lineLabel, int cLine) {
    return std::string(headline) +
           "\r\n\r\nCheck Basic code is for KTV.\r\nCheck not missing Libraries.\r\n"
           "Check you are using a good verion of KTVC.exe\r\n"
           "Chek there are no bad variable declarations\r\n\r\n" +
           std::string(reported) + "\r\n" + std::string(message) + "\r\n\r\n" +
           std::string(lineLabel) + " " + std::to_string(cLine);
}

TEST(CompilerErrors, NothingOfTheKindLetsTheBuildGoOn) {
    const std::optional<std::string> errFiles[] = {
        std::nullopt,
        "",
        "lcc: compiling prog.c\r\n 0 errors\r\n",
        " error prog.c: 12 leading space\r\n",
        "warning prog.c: 12 only a warning\r\n",
    };
    for (const auto& errFile : errFiles) {
        DiagnosticsFixture fixture;
        fixture.ChooseEditor(EditorChoice::Notepad);
        fixture.fake.files.AddFile(kCFile, CFile());
        if (errFile) {
            fixture.fake.files.AddFile(kErrFile, *errFile);
        }
        EXPECT_TRUE(ShowCErrors(fixture.context, kErrFile));
        EXPECT_TRUE(fixture.Calls().empty());
    }
}

TEST(CompilerErrors, AMappedErrorIsReportedWithItsBasicLineAndTheEditorOpensThere) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(
        kErrFile, "lcc 3.8\r\nError prog.c: 20  syntax error\r\nerror prog.c: 41 x\r\n");
    EXPECT_FALSE(ShowCErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(),
              Concat({{"box[64|Error!]: C Error:   syntax error   -   Basic Line:  10",
                       "start[3]: C:\\windows\\system32\\notepad.exe c:\\work\\prog.bas",
                       "wait-ready: 101", "do-events x2", "activate-task: 101", "do-events x6"},
                      GoToLineKeys(" 10")}));
}

TEST(CompilerErrors, TheFirstMappableErrorIsReportedAfterUnmappableOnes) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(kErrFile,
                               "error prog.c: 3 before any reference\r\n"
                               "warning prog.c: 41 a warning\r\n"
                               "error prog.c: 99 beyond the end\r\n"
                               "error prog.c: 57 maps to 30\r\n"
                               "error prog.c: 6 maps to 10\r\n"
                               "error prog.c: never read\r\n");
    EXPECT_FALSE(ShowCErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: C Error:  maps to 30   -   Basic Line:  30"});
}

TEST(CompilerErrors, WhenNoneMapsTheLastOneIsReportedWithTheChecklist) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::JFE);
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(kErrFile,
                               "error prog.c: 3 first\r\nerror prog.c: 4  second\r\nend\r\n");
    EXPECT_FALSE(ShowCErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: C Error: " +
                                     Unmapped("Unregonisable error.",
                                              "Error Reported was:", "  second", "Line: ", 4)});
}

TEST(CompilerErrors, WithoutTheCFileTheFirstErrorIsReportedAtOnce) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.files.AddFile(
        kErrFile, "error prog.c: 20 first\r\nerror prog.c: 30 second\r\nerror bad\r\n");
    EXPECT_FALSE(ShowCErrors(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: C Error: " +
                                     Unmapped("Unregonisable error.",
                                              "Error Reported was:", " first", "Line: ", 20)});
}

TEST(CompilerWarnings, OnlyWarningsAreLookedAtAndReportedLikeErrors) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::ConTEXT);
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(kErrFile,
                               "error prog.c: 20 an error\r\nWARNING prog.c: 45 unused x\r\n");
    EXPECT_FALSE(ShowCWarnings(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(),
              Concat({{"box[64|Error!]: C Warning:  unused x   -   Basic Line:  30",
                       "activate-title: ConTEXT - [c:\\work\\prog.bas] (not found)",
                       "start[2]: \"C:\\Program Files\\ConTEXT\\ConTEXT.exe\" c:\\work\\prog.bas",
                       "wait-ready: 101", "activate-task: 101", "do-events"},
                      GoToLineKeys(" 30")}));
}

TEST(CompilerWarnings, AnUnmappedWarningHasItsOwnChecklistTexts) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(kErrFile, "warning prog.c: 2 w\r\n");
    EXPECT_FALSE(ShowCWarnings(fixture.context, kErrFile));
    EXPECT_EQ(fixture.Calls(), Calls{"box[64|Error!]: C Warning: " +
                                     Unmapped("Unregonisable Warning.",
                                              "Warning Reported was:", " w", " Line: ", 2)});
}

TEST(CompilerErrors, MalformedLinesFailEvenAfterEarlierDiagnostics) {
    const std::string errFiles[] = {
        "error prog.c: 3 unmapped\r\nerror prog.c: no number\r\n",
        "error prog.c: 27\r\n",
        "error prog.c: 2x y\r\n",
    };
    for (const std::string& errFile : errFiles) {
        DiagnosticsFixture fixture;
        fixture.fake.files.AddFile(kCFile, CFile());
        fixture.fake.files.AddFile(kErrFile, errFile);
        EXPECT_THROW(ShowCErrors(fixture.context, kErrFile), FormatError) << errFile;
        EXPECT_TRUE(fixture.Calls().empty());
    }
}

TEST(CompilerErrors, ABadReferenceInTheCFileFails) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kCFile, "x\r\n// [12\r\ny\r\n");
    fixture.fake.files.AddFile(kErrFile, "error prog.c: 3 x\r\n");
    EXPECT_THROW(ShowCErrors(fixture.context, kErrFile), FormatError);
}

TEST(CompilerErrors, ANotepadThatCannotStartReachesTheDriverAfterTheReport) {
    DiagnosticsFixture fixture;
    fixture.ChooseEditor(EditorChoice::Notepad);
    fixture.fake.processes.FailStartsContaining("notepad.exe");
    fixture.fake.files.AddFile(kCFile, CFile());
    fixture.fake.files.AddFile(kErrFile, "error prog.c: 5 x\r\n");
    EXPECT_THROW(ShowCErrors(fixture.context, kErrFile), StartFailed);
    EXPECT_EQ(fixture.fake.transcript.Only({"box"}),
              Calls{"box[64|Error!]: C Error:  x   -   Basic Line:  10"});
}

}  // namespace
}  // namespace ktv
