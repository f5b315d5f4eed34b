#include <gtest/gtest.h>

#include "diagnostics/CompilerDiagnostics.h"
#include "diagnostics/LineViews.h"
#include "platform/Errors.h"
#include "platform/TextLines.h"

namespace ktv {
namespace {

TEST(CompilerDiagnostics, DiagnosticLinesBeginWithTheKindWordInAnyCase) {
    const std::tuple<std::string_view, bool, bool> cases[] = {
        // line, an error line, a warning line
        {"error prog.c: 3 x", true, false},
        {"Error prog.c: 3 x", true, false},
        {"ERROR prog.c: 3 x", true, false},
        {"errors", true, false},
        {"warning prog.c: 3 x", false, true},
        {"WARNING prog.c: 3 x", false, true},
        {" error prog.c: 3 x", false, false},
        {"\terror", false, false},
        {"err", false, false},
        {"", false, false},
        {"lcc: 2 errors", false, false},
    };
    for (const auto& [line, isError, isWarning] : cases) {
        EXPECT_EQ(IsDiagnosticLine(line, kCompilerErrorTexts), isError) << line;
        EXPECT_EQ(IsDiagnosticLine(line, kCompilerWarningTexts), isWarning) << line;
    }
}

TEST(CompilerDiagnostics, TheLineNumberIsLookedForPastLabelBaseNameAndColon) {
    struct Case {
        std::string_view line;
        const CompilerDiagnosticTexts* texts;
        std::string_view baseName;
        int cLine;
        std::string_view message;
    };
    const Case cases[] = {
        {"error prog.c: 27  syntax error", &kCompilerErrorTexts, "prog", 27, "  syntax error"},
        {"Error prog.c: 5 x", &kCompilerErrorTexts, "prog", 5, " x"},
        // The digits of the name itself lie before the start and do not count.
        {"error p1.c: 12 x", &kCompilerErrorTexts, "p1", 12, " x"},
        // "0" does not start a number: the scan goes on to "9".
        {"error prog.c: 09 x", &kCompilerErrorTexts, "prog", 9, " x"},
        {"error prog.c:  100 ", &kCompilerErrorTexts, "prog", 100, " "},
        // Another file named in the line: the start still comes from the base name.
        {"error stdio.h: 44 bad", &kCompilerErrorTexts, "prog", 44, " bad"},
        {"warning prog.c: 8 unused x", &kCompilerWarningTexts, "prog", 8, " unused x"},
        {"Warning prog.c: 8.75 x", &kCompilerWarningTexts, "prog", 8, " x"},
        // The start position counts from the line's start: a longer name moves it.
        {"error verylongname.c: 3 x", &kCompilerErrorTexts, "verylongname", 3, " x"},
        {"error a.c: 1234567 x", &kCompilerErrorTexts, "a", 1234567, " x"},
    };
    for (const Case& c : cases) {
        const Diagnostic diagnostic = ParseDiagnosticLine(c.line, *c.texts, c.baseName);
        EXPECT_EQ(diagnostic.kind, c.texts->kind) << c.line;
        EXPECT_EQ(diagnostic.cLine, c.cLine) << c.line;
        EXPECT_EQ(diagnostic.message, c.message) << c.line;
        EXPECT_EQ(diagnostic.basicLine, "") << c.line;
    }
}

TEST(CompilerDiagnostics, LinesWithoutAUsableNumberAreMalformed) {
    const std::string_view lines[] = {
        "error prog.c: syntax",         // no digit 1-9 after the start
        "error",                        // shorter than the start
        "error prog.c: 27",             // no space after the number
        "error prog.c: 2x7 y",          // not a number
        "error prog.c: 27: y",          // not a number
        "error prog.c: 2.x y",          // not a number
        "error prog.c: 99999999999 y",  // too large
        "error 27 prog.c syntax",       // the number stands before the start
    };
    for (std::string_view line : lines) {
        EXPECT_THROW(ParseDiagnosticLine(line, kCompilerErrorTexts, "prog"), FormatError) << line;
    }
}

std::optional<std::string> Find(const std::vector<std::string>& lines, int cLine) {
    const std::string text = JoinLines(lines);
    return CFileReferences(text).FindBasicLine(cLine);
}

// A C file of `size` lines with a line reference to Basic line 7 at `at`.
std::vector<std::string> CFileWithReferenceAt(int size, int at, std::string reference = "// [7]") {
    std::vector<std::string> lines(static_cast<std::size_t>(size), "x = 1;");
    lines[static_cast<std::size_t>(at) - 1] = std::move(reference);
    return lines;
}

TEST(CompilerDiagnostics, TheNearestReferenceWithin17LinesAboveIsFound) {
    struct Case {
        int size;
        int referenceAt;
        int cLine;
        std::optional<std::string> basicLine;
    };
    const Case cases[] = {
        {40, 10, 10, "7"},           // on the line itself
        {40, 10, 27, "7"},           // 17 lines below
        {40, 10, 28, std::nullopt},  // 18 lines below
        {40, 10, 9, std::nullopt},   // below the line: never looked at
        {40, 1, 1, "7"},             // the first line
        {40, 1, 18, "7"},
        {40, 1, 19, std::nullopt},
        {40, 40, 41, std::nullopt},  // beyond the end, reference on the last line
        {40, 40, 40, "7"},
        {0 + 5, 5, 400, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto lines = CFileWithReferenceAt(c.size, c.referenceAt);
        EXPECT_EQ(Find(lines, c.cLine), c.basicLine) << c.referenceAt << " -> " << c.cLine;
    }
}

TEST(CompilerDiagnostics, AC5LineWithoutReferencesAboveIsNotMapped) {
    const auto lines = CFileWithReferenceAt(30, 20);
    EXPECT_EQ(Find(lines, 5), std::nullopt);
}

TEST(CompilerDiagnostics, NearerReferencesWinAndSpacesAroundThemAreIgnored) {
    auto lines = CFileWithReferenceAt(40, 10, "// [3]");
    lines[14] = "   // [12] print x   ";
    EXPECT_EQ(Find(lines, 20), "12");
    EXPECT_EQ(Find(lines, 14), "3");
}

TEST(CompilerDiagnostics, OnlyWellFormedCommentsAreReferences) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"// [0]", "0"},
        {"// [042] x ] y", "042"},
        {"//  [4]", std::nullopt},
        {"/* [4] */", std::nullopt},
        {"// [x4]", std::nullopt},
        {"// [", std::nullopt},
        {"\t// [4]", std::nullopt},  // only spaces are trimmed
        {"x // [4]", std::nullopt},
    };
    for (const auto& [reference, basicLine] : cases) {
        const auto lines = CFileWithReferenceAt(3, 2, reference);
        EXPECT_EQ(Find(lines, 3), basicLine) << reference;
    }
}

TEST(CompilerDiagnostics, AReferenceWithABadNumberIsMalformed) {
    for (const std::string reference : {"// [4", "// [4x]", "// [4 ]", "// [99999999999]"}) {
        const auto lines = CFileWithReferenceAt(3, 2, reference);
        EXPECT_THROW(Find(lines, 3), FormatError) << reference;
    }
}

TEST(CompilerDiagnostics, ReportsReadAsTheUserIsShownThem) {
    Diagnostic error{DiagnosticKind::CError, "  syntax error", 27, "12"};
    EXPECT_EQ(MappedReport(error), "  syntax error   -   Basic Line:  12");
    EXPECT_EQ(UnmappedReport(error, kCompilerErrorTexts),
              "Unregonisable error.\r\n\r\n"
              "Check Basic code is for KTV.\r\n"
              "Check not missing Libraries.\r\n"
              "Check you are using a good verion of KTVC.exe\r\n"
              "Chek there are no bad variable declarations\r\n\r\n"
              "Error Reported was:\r\n"
              "  syntax error\r\n\r\n"
              "Line:  27");
    Diagnostic warning{DiagnosticKind::CWarning, " unused", 3, ""};
    EXPECT_EQ(UnmappedReport(warning, kCompilerWarningTexts),
              "Unregonisable Warning.\r\n\r\n"
              "Check Basic code is for KTV.\r\n"
              "Check not missing Libraries.\r\n"
              "Check you are using a good verion of KTVC.exe\r\n"
              "Chek there are no bad variable declarations\r\n\r\n"
              "Warning Reported was:\r\n"
              " unused\r\n\r\n"
              " Line:  3");
}

TEST(LineViews, SplitLikeTheFileReaderAndTrimOnlySpaces) {
    for (std::string_view text :
         {"", "a", "a\r\n", "a\rb\r", "a\nb\r\n", "\r\n\r\n", "a\r\r\nb", "  x  \r\n\ty"}) {
        std::vector<std::string> views;
        LineCursor cursor(text);
        while (const auto line = cursor.Next()) {
            views.emplace_back(*line);
        }
        const auto lines = SplitLines(text);
        EXPECT_EQ(views, lines);
        EXPECT_EQ(CFileReferences(text).LineCount(), static_cast<int>(lines.size()));
        EXPECT_EQ(FirstLine(text).has_value(), !text.empty());
        if (!views.empty()) {
            EXPECT_EQ(FirstLine(text), std::string_view(views.front()));
        }
    }
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimSpaces("   "), "");
}

}  // namespace
}  // namespace ktv
