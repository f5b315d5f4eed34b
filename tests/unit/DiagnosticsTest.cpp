// Reading the translator's and the compiler's error files, leading a C line
// back to its Basic line, the boxes that report the first problem and the
// list of them all.

#include "World.h"
#include "debug/Diagnostics.h"
#include "debug/ProblemReport.h"
#include "debug/Problems.h"
#include "debug/RunStatus.h"
#include "text/Errors.h"
#include "text/Lines.h"

namespace ktv::testing {
namespace {

// What the run reads from the world's error files: the translator's, then,
// when the compiler ran, the compiler's.
RunProblems ReadErrorFiles(World& world, bool compilerRan = true) {
    RunProblems run = NoProblems(world.options.basicFile, world.names);
    ReadTranslatorProblems(world.fake.files, world.names, run);
    if (compilerRan) {
        ReadCompilerProblems(world.fake.files, world.names, run);
    }
    return run;
}

TEST(Diagnostics, TheCLineIsLookedForPastLabelBaseNameAndColon) {
    // line (a warning when it starts with W), base name, C line, message; a digit
    // in the name comes before, "0" starts no number, a warning's 8.75 is 8
    const std::tuple<std::string_view, std::string_view, int, std::string_view> cases[] = {
        {"error prog.c: 27  syntax error", "prog", 27, "  syntax error"},
        {"error p1.c: 12 x", "p1", 12, " x"},
        {"error prog.c: 09 x", "prog", 9, " x"},
        {"error prog.c: 0 9 x", "prog", 9, " x"},
        {"error prog.c:5 x", "prog", 5, " x"},
        {"warning prog.c:5 x", "prog", 5, " x"},
        {"error progra1.c: 7 x", "prog", 7, " x"},
        {"error prog.c:  100 ", "prog", 100, " "},
        {"error stdio.h: 44 bad", "prog", 44, " bad"},
        {"warning prog.c: 8 unused x", "prog", 8, " unused x"},
        {"Warning prog.c: 8.75 x", "prog", 8, " x"},
        {"error verylongname.c: 3 x", "verylongname", 3, " x"}};
    for (const auto& [line, baseName, cLine, message] : cases) {
        const CompilerDiagnosticTexts& texts =
            (line[0] | 0x20) == 'w' ? kCompilerWarningTexts : kCompilerErrorTexts;
        const Diagnostic diagnostic = ParseDiagnosticLine(line, texts, baseName);
        EXPECT_EQ(diagnostic.kind, texts.kind) << line;
        EXPECT_EQ(diagnostic.cLine, cLine) << line;
        EXPECT_EQ(diagnostic.message, message) << line;
    }
    for (std::string_view line :
         {"error prog.c: syntax", "error", "error prog.c: 27", "error prog.c: 2x7 y",
          "error prog.c: 2.x y", "error prog.c: 99999999999 y", "error 27 prog.c syntax"}) {
        EXPECT_THROW(ParseDiagnosticLine(line, kCompilerErrorTexts, "prog"), FormatError) << line;
    }
}

// The Basic line for C line `cLine` of a C file of `size` lines with one
// reference line at `at`.
std::optional<std::string> Find(int size, int at, int cLine, std::string reference = "// [7]") {
    std::vector<std::string> lines(static_cast<std::size_t>(size), "x = 1;");
    lines[static_cast<std::size_t>(at) - 1] = std::move(reference);
    const std::string text = JoinLines(lines);
    return CFileReferences(text).FindBasicLine(cLine);
}

TEST(Diagnostics, TheNearestReferenceOnTheLineOr17LinesAboveGivesTheBasicLine) {
    const std::tuple<int, int, int, std::optional<std::string>> cases[] = {
        // C file size, reference at, C line, Basic line
        {40, 10, 10, "7"},          {40, 10, 27, "7"},         {40, 10, 28, std::nullopt},
        {40, 10, 9, std::nullopt},  {40, 1, 18, "7"},          {40, 1, 19, std::nullopt},
        {40, 40, 41, std::nullopt}, {30, 20, 5, std::nullopt}, {40, 40, 40, "7"}};
    for (const auto& [size, at, cLine, basicLine] : cases) {
        EXPECT_EQ(Find(size, at, cLine), basicLine) << at << " -> " << cLine;
    }
    std::vector<std::string> lines(40, "x = 1;");
    lines[9] = "// [3]";
    lines[14] = "   // [12] print x   ";
    const std::string text = JoinLines(lines);
    EXPECT_EQ(CFileReferences(text).FindBasicLine(20), "12");  // the nearer one
    EXPECT_EQ(CFileReferences(text).FindBasicLine(14), "3");
    // Lines end at CR, with or without LF; text after the last end is a line.
    const std::tuple<std::string_view, int, std::optional<std::string>> ends[] = {
        {"a\r// [5]\nb\n// [6]\r", 2, "5"},
        {"// [5]", 1, "5"},
        {"// [5]", 2, std::nullopt},
        {" // [5]", 1, "5"},
        {"\r\n// [5]", 2, "5"},
        {"\r\r// [5]\r\n", 3, "5"},
        {"\r\r// [5]\r\n", 4, std::nullopt},
        {"// [5]\rx", 2, "5"},
        {"// [5]\r\nx", 2, "5"},
        {"// [5]\r\n\r\n", 3, std::nullopt}};
    for (const auto& [cFile, cLine, basicLine] : ends) {
        EXPECT_EQ(CFileReferences(cFile).FindBasicLine(cLine), basicLine)
            << ::testing::PrintToString(cFile) << " line " << cLine;
    }
}

TEST(Diagnostics, OnlyWellFormedCommentsAreReferences) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"// [0]", "0"},           {"// [042] x ] y", "042"},
        {"//  [4]", std::nullopt}, {"/* [4] */", std::nullopt},
        {"// [x4]", std::nullopt}, {"\t// [4]", std::nullopt},
        {"x // [4]", std::nullopt}};
    for (const auto& [reference, basicLine] : cases) {
        EXPECT_EQ(Find(3, 2, 3, reference), basicLine) << reference;
    }
    for (const std::string reference : {"// [4", "// [4x]", "// [4 ]", "// [99999999999]"}) {
        EXPECT_THROW(Find(3, 2, 3, reference), FormatError) << reference;
    }
}

TEST(Diagnostics, ABasicLineIsTypedAndShownAsASpaceAndItsDigits) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"27", " 27"},         {" 12", " 12"},
        {"007", " 7"},         {"  5  ", " 5"},
        {"-5", std::nullopt},  {"+5", std::nullopt},
        {"1e3", std::nullopt}, {"^{F4}", std::nullopt},
        {"", std::nullopt},    {"2147483648", std::nullopt}};
    for (const auto& [basicLine, text] : cases) {
        EXPECT_EQ(LineText(basicLine), text) << basicLine;
    }
    EXPECT_EQ(LineText("2147483647"), " 2147483647");  // the largest line number
}

TEST(Diagnostics, ReportsReadAsTheUserIsShownThem) {
    EXPECT_EQ(MappedReport({DiagnosticKind::CError, "  syntax error", 27, "12"}),
              "  syntax error   -   Basic Line:  12");
    const std::string checklist =
        "\r\n\r\nCheck Basic code is for KTV.\r\nCheck not missing Libraries.\r\n"
        "Check you are using a good verion of KTVC.exe\r\n"
        "Chek there are no bad variable declarations\r\n\r\n";
    EXPECT_EQ(
        UnmappedReport({DiagnosticKind::CError, "  syntax error", 27, ""}, kCompilerErrorTexts),
        "Unregonisable error." + checklist +
            "Error Reported was:\r\n  syntax error\r\n\r\nLine:  27");
    EXPECT_EQ(
        UnmappedReport({DiagnosticKind::CWarning, " unused", 3, ""}, kCompilerWarningTexts),
        "Unregonisable Warning." + checklist + "Warning Reported was:\r\n unused\r\n\r\n Line:  3");
}

// The readers with a C file whose line 2N is the reference of Basic line N.
TEST(Diagnostics, TheCompilerReadersReportTheFirstMappableProblemOrTheLastWithTheChecklist) {
    const std::string cError = "64|Error!|C Error: ";
    const std::string cWarning = "64|Error!|C Warning: ";
    const std::tuple<Lines, int, int, int, std::string> cases[] = {
        // lcc.err, warnings read, a C file, the result, the start of the one box ("": none)
        {{"lcc: done"}, 0, 1, 1, ""},
        {{"warning prog.c: 4 w"}, 0, 1, 1, ""},
        {{"error prog.c: 4 e"}, 0, 1, 0, cError + " e   -   Basic Line:  2"},
        {{"error prog.c: 999 far", "error prog.c: 6 e"},
         false,
         true,
         false,
         cError + " e   -   Basic Line:  3"},  // the first that maps
        {{"error prog.c: 998 a", "error prog.c: 999 b"},
         false,
         true,
         false,
         "was:\r\n b\r\n"},  // none maps: the last one
        {{"error prog.c: 4 a", "error prog.c: 6 b"},
         false,
         false,
         false,
         "was:\r\n a\r\n"},  // no C file: the first one
        {{"Error c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'", "error prog.c: 6 e"},
         false,
         true,
         false,
         cError + " e   -   Basic Line:  3"},  // a header's line 9 is not the C file's
        {{"Error c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'"},
         false,
         true,
         false,
         "was:\r\n  redeclaration of 'Sleep'\r\n"},
        {{"warning prog.c: 6 w"}, 1, 1, 0, cWarning + " w   -   Basic Line:  3"},
        {{"warning prog.c: 999 w"}, 1, 1, 0, cWarning + "Unregonisable Warning."}};
    for (const auto& [lcc, warnings, cFile, result, box] : cases) {
        SCOPED_TRACE(box);
        World world;
        world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
        world.ChooseEditor(EditorChoice::JFE);
        if (cFile) {
            world.fake.processes.onRun("ktvc.exe");
        }
        world.fake.files.AddFile("c:\\work\\lcc.err", JoinLines(lcc));
        DebugContext context = world.Context();
        const RunProblems run = ReadErrorFiles(world);
        EXPECT_EQ(warnings ? ShowCWarnings(context, run) : ShowCErrors(context, run), result != 0);
        const Lines boxes = world.Boxes();
        ASSERT_EQ(boxes.size(), box.empty() ? 0u : 1u);
        if (!box.empty()) {
            EXPECT_NE(boxes[0].find(box), std::string::npos) << boxes[0];
        }
        // The compiler's timing: JFE gets 2, 3 and 6 event passes.
        EXPECT_EQ(world.Only({"do-events"}).size(),
                  box.find("Basic Line") != std::string::npos ? 11u : 0u);
    }
    World world;
    world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
    DebugContext context = world.Context();
    EXPECT_TRUE(ShowCErrors(context, ReadErrorFiles(world)));  // no file
    world.fake.processes.onRun("ktvc.exe");  // the C file, so the first line is read on
    world.fake.files.AddFile("c:\\work\\lcc.err", "error prog.c: 999 a\r\nerror prog.c: x\r\n");
    EXPECT_THROW(ShowCErrors(context, ReadErrorFiles(world)), FormatError);
}

TEST(Diagnostics, TheTranslatorsFirstLineIsShownAndItsLastWordOpensTheEditorThere) {
    const Lines line12{"keys: ^g", "box-keys:  12", "box-keys: {ENTER}", "keys: {HOME}",
                       "keys: +{END}"};
    const Lines noLine{"keys: ^g", "box-keys: {ENTER}", "keys: {HOME}", "keys: +{END}"};
    const std::tuple<std::optional<std::string>, std::string, Lines> cases[] = {
        // ktv.err (nothing: none), the line shown, the keys typed
        {std::nullopt, "", {}},
        {"", "", {}},
        {"\r\n", "", {}},
        {"Syntax error in line 12\r\nsecond line 9\r\n", "Syntax error in line 12", line12},
        {"Undefined  label at  12", "Undefined  label at  12", line12},
        {"Lone CR ends it 12\rnot this 9", "Lone CR ends it 12", line12},
        {"NoSpaceAtAll", "NoSpaceAtAll", {}},
        {"Bad thing 12 and more", "Bad thing 12 and more", noLine}};
    for (const auto& [file, shown, keys] : cases) {
        SCOPED_TRACE(shown);
        World world;
        world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
        world.ChooseEditor(EditorChoice::JFE);
        if (file) {
            world.fake.files.AddFile("c:\\work\\ktv.err", *file);
        }
        DebugContext context = world.Context();
        const bool empty = !file || file->empty();
        EXPECT_EQ(ShowBasicErrors(context, ReadErrorFiles(world, false)), empty);
        EXPECT_EQ(world.Boxes(), empty ? Lines{} : Lines{"64|Error!|Basic Error: " + shown});
        EXPECT_EQ(world.Only({"keys", "box-keys"}), keys);
        // The translator's timing: JFE gets 2, 0 and 1 event passes.
        EXPECT_EQ(world.Only({"do-events"}).size(), keys.empty() ? 0u : 3u);
    }
    // An editor that cannot be started leaves the report standing.
    World world;
    world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
    world.ChooseEditor(EditorChoice::Notepad);
    world.fake.processes.failing = {"notepad"};
    world.fake.files.AddFile("c:\\work\\ktv.err", "Syntax error 3");
    DebugContext context = world.Context();
    EXPECT_FALSE(ShowBasicErrors(context, ReadErrorFiles(world, false)));
}

// Every line of both files, as the list copies them and ktvbuild prints
// them; the C file's line 2N is the reference of Basic line N.
TEST(Problems, EveryLineOfBothFilesIsReadAndLedBackAsTheBoxWould) {
    const std::string bas = "c:\\work\\prog.bas";
    const std::string c = "c:\\work\\prog.c";
    const std::tuple<std::optional<std::string>, Lines, bool, bool, Lines> cases[] = {
        // ktv.err, lcc.err, the compiler ran, a C file, the lines
        {"Syntax error in line 12\r\n  second 9\r\n\r\nno\tnumber here\r\n12 ahead",
         {},
         true,
         true,
         {bas + ":12: error: Syntax error in line 12", bas + ":9: error: second 9",
          bas + ": error: no\tnumber here", bas + ": error: 12 ahead"}},
        {"  \r\n", {}, false, true, {bas + ": error: "}},
        {std::nullopt,
         {"error prog.c: 4 e1", "Warning prog.c: 6  w1", "lcc: 2 errors", "error prog.c: 999 far",
          "ERROR prog.c: x"},
         true,
         true,
         {bas + ":2: error: e1", bas + ":3: warning: w1", c + ":999: error: far",
          c + ": error: ERROR prog.c: x"}},
        {std::nullopt, {"error prog.c: 4 e1"}, true, false, {c + ":4: error: e1"}},
        {std::nullopt, {"error prog.c: 4 e1"}, false, true, {}},
        // Another file keeps its own line; a control character in a line
        // (a lone LF stays inside it) is a space, so each problem is one line.
        {std::nullopt,
         {"Error c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'",
          "warning C:/WORK/PROG.C: 4 bad\nhalf\x01way", "error stdio.h: x"},
         true,
         true,
         {"c:\\lcc\\include\\win.h:9: error: redeclaration of 'Sleep'",
          bas + ":2: warning: bad half way", "stdio.h: error: x"}}};
    // as the status bar counts them
    const char* counted[] = {"4 errors", "1 error",     "3 errors, 1 warning",
                             "1 error",  "no problems", "2 errors, 1 warning"};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [translator, compiler, compilerRan, cFile, lines] = cases[i];
        SCOPED_TRACE(lines.empty() ? "" : lines[0]);
        World world;
        world.names = BuildNames{"c:\\work", "prog", "prog.bas"};
        if (cFile) {
            world.fake.processes.onRun("ktvc.exe");
        }
        if (translator) {
            world.fake.files.AddFile("c:\\work\\ktv.err", *translator);
        }
        world.fake.files.AddFile("c:\\work\\lcc.err", JoinLines(compiler));
        const RunProblems list = ReadErrorFiles(world, compilerRan);
        Lines shown;
        for (const Problem& problem : list.problems) {
            shown.push_back(ProblemLine(problem, list));
        }
        EXPECT_EQ(shown, lines);
        EXPECT_EQ(ProblemCountText(list), counted[i]);
    }
}

}  // namespace
}  // namespace ktv::testing
