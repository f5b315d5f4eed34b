#include "debug/Problems.h"

#include <optional>

#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {
namespace {

// A message as one line of text: the lone line feeds and other control
// characters a line may hold become spaces, so that each problem stays one
// line wherever it is printed or copied.
std::string OneLine(std::string_view text) {
    std::string line(TrimLeadingSpaces(text));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            c = ' ';
        }
    }
    return line;
}

}  // namespace

std::vector<Problem> ReadTranslatorProblems(std::string_view errorText) {
    std::vector<Problem> problems;
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        if (!problems.empty() && TrimSpaces(line->text).empty()) {
            continue;
        }
        Problem problem;
        problem.kind = DiagnosticKind::BasicError;
        problem.message = OneLine(line->text);
        const std::size_t lastSpace = line->text.rfind(' ');
        if (lastSpace != std::string_view::npos) {
            const std::optional<std::string> typed = LineText(line->text.substr(lastSpace));
            problem.basicLine = typed ? typed->substr(1) : "";
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

std::vector<Problem> ReadCompilerProblems(std::string_view errorText,
                                          const CFileReferences* references,
                                          std::string_view baseName) {
    std::vector<Problem> problems;
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        const CompilerDiagnosticTexts* texts =
            IsDiagnosticLine(line->text, kCompilerErrorTexts)     ? &kCompilerErrorTexts
            : IsDiagnosticLine(line->text, kCompilerWarningTexts) ? &kCompilerWarningTexts
                                                                  : nullptr;
        if (texts == nullptr) {
            continue;
        }
        Problem problem;
        problem.kind = texts->kind;
        try {
            const Diagnostic diagnostic = ParseDiagnosticLine(line->text, *texts, baseName);
            problem.cLine = diagnostic.cLine;
            problem.message = OneLine(diagnostic.message);
        } catch (const FormatError&) {
            problem.message = OneLine(line->text);
            problems.push_back(std::move(problem));
            continue;
        }
        try {
            if (references != nullptr) {
                problem.basicLine = references->FindBasicLine(problem.cLine).value_or("");
            }
        } catch (const FormatError&) {
            // A broken reference leads nowhere; the C line still does.
        }
        if (!problem.basicLine.empty()) {
            problem.basicLine = LineText(problem.basicLine).value_or(" ").substr(1);
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

ProblemList ReadRunProblems(FileSystem& files, const DebugOptions& options, const BuildRun& run,
                            bool compilerRan) {
    ProblemList list{options.basicFile, JoinPath(run.folder, run.baseName + ".c"), {}};
    const std::string translatorErrors = JoinPath(run.folder, "ktv.err");
    if (files.FileExists(translatorErrors)) {
        list.problems = ReadTranslatorProblems(files.ReadFile(translatorErrors));
    }
    const std::string compilerErrors = JoinPath(run.folder, "lcc.err");
    if (!compilerRan || !files.FileExists(compilerErrors)) {
        return list;
    }
    const std::string cText = files.FileExists(list.cFile) ? files.ReadFile(list.cFile) : "";
    const std::optional<CFileReferences> references =
        cText.empty() ? std::nullopt : std::optional<CFileReferences>(cText);
    std::vector<Problem> compiler = ReadCompilerProblems(
        files.ReadFile(compilerErrors), references ? &*references : nullptr, run.baseName);
    list.problems.insert(list.problems.end(), std::make_move_iterator(compiler.begin()),
                         std::make_move_iterator(compiler.end()));
    return list;
}

std::string_view KindWord(DiagnosticKind kind) {
    return kind == DiagnosticKind::CWarning ? "warning" : "error";
}

std::string ProblemLine(const Problem& problem, const ProblemList& list) {
    const bool inBasic = problem.kind == DiagnosticKind::BasicError || !problem.basicLine.empty();
    std::string line = inBasic ? list.basicFile : list.cFile;
    if (!problem.basicLine.empty()) {
        line += ":" + problem.basicLine;
    } else if (!inBasic && problem.cLine > 0) {
        line += ":" + std::to_string(problem.cLine);
    }
    line.append(": ").append(KindWord(problem.kind)).append(": ").append(problem.message);
    return line;
}

}  // namespace ktv
