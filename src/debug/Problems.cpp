#include "debug/Problems.h"

#include <algorithm>
#include <optional>

#include "platform/FileSystem.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {
namespace {

// The C file's text and its line references, which point into the text.
class LoadedCFile {
public:
    explicit LoadedCFile(std::string text) : text_(std::move(text)), references_(text_) {}
    LoadedCFile(const LoadedCFile&) = delete;
    LoadedCFile& operator=(const LoadedCFile&) = delete;

    const CFileReferences& References() const { return references_; }

private:
    std::string text_;
    CFileReferences references_;
};

const CompilerDiagnosticTexts* KindOf(std::string_view line) {
    if (IsDiagnosticLine(line, kCompilerErrorTexts)) {
        return &kCompilerErrorTexts;
    }
    if (IsDiagnosticLine(line, kCompilerWarningTexts)) {
        return &kCompilerWarningTexts;
    }
    return nullptr;
}

bool HasDiagnosticLine(std::string_view errorText) {
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        if (KindOf(line->text) != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

RunProblems NoProblems(const std::string& basicFile, const BuildNames& names) {
    RunProblems run;
    run.basicFile = basicFile;
    run.cFile = JoinPath(names.folder, names.baseName + ".c");
    return run;
}

std::vector<Problem> TranslatorProblems(std::string_view errorText) {
    std::vector<Problem> problems;
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        if (!problems.empty() && TrimSpaces(line->text).empty()) {
            continue;
        }
        Problem problem;
        problem.kind = DiagnosticKind::BasicError;
        problem.message = std::string(line->text);
        // The report's last word is the Basic line: from the last space on.
        const std::size_t lastSpace = line->text.rfind(' ');
        if (lastSpace != std::string_view::npos) {
            problem.basicLine = std::string(line->text.substr(lastSpace));
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

std::vector<Problem> CompilerProblems(std::string_view errorText, const CFileReferences* references,
                                      std::string_view cFile) {
    const std::string baseName = GetFileName(cFile).substr(0, GetFileName(cFile).size() - 2);
    std::vector<Problem> problems;
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        const CompilerDiagnosticTexts* texts = KindOf(line->text);
        if (texts == nullptr) {
            continue;
        }
        Problem problem;
        problem.kind = texts->kind;
        if (std::optional<ForeignDiagnostic> foreign =
                ForeignFileDiagnostic(line->text, *texts, cFile)) {
            // Its line is one of that file's: leading it back through the C
            // file's references would name an unrelated Basic line.
            problem.file = std::move(foreign->file);
            problem.cLine = foreign->line;
            problem.message = std::move(foreign->message);
            problems.push_back(std::move(problem));
            continue;
        }
        try {
            const Diagnostic diagnostic = ParseDiagnosticLine(line->text, *texts, baseName);
            problem.cLine = diagnostic.cLine;
            problem.message = diagnostic.message;
            if (references != nullptr) {
                problem.basicLine = references->FindBasicLine(problem.cLine).value_or("");
            }
        } catch (const FormatError& malformed) {
            if (problem.cLine == 0) {
                problem.message = std::string(line->text);  // nothing else to go by
            }
            problem.unreadable = malformed.what();
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

namespace {

// Keeps how each file a problem is in stands now, once per file.
void RecordStamps(FileSystem& files, const BuildNames& names, RunProblems& run) {
    const auto record = [&](const std::string& path) {
        if (!path.empty() && run.stamps.count(path) == 0) {
            std::optional<FileStamp> stamp;
            IgnoringFailure([&] { stamp = files.Stamp(path); });
            run.stamps.emplace(path, stamp);
        }
    };
    for (const Problem& problem : run.problems) {
        record(ProblemFile(problem, run, names));
        if (problem.kind != DiagnosticKind::BasicError) {
            record(CompilerFile(problem, run, names));
        }
    }
}

}  // namespace

std::string CompilerFile(const Problem& problem, const RunProblems& run, const BuildNames& names) {
    if (problem.file.empty()) {
        return run.cFile;
    }
    return problem.file.find('\\') == std::string::npos ? std::string()
                                                        : AbsolutePath(names.folder, problem.file);
}

std::string ProblemFile(const Problem& problem, const RunProblems& run, const BuildNames& names) {
    if (problem.kind == DiagnosticKind::BasicError || !DisplayedBasicLine(problem).empty()) {
        return JoinPath(names.folder, names.fileName);
    }
    return CompilerFile(problem, run, names);
}

void ReadTranslatorProblems(FileSystem& files, const BuildNames& names, RunProblems& run) {
    const std::string errorFile = JoinPath(names.folder, "ktv.err");
    if (files.FileExists(errorFile)) {
        std::vector<Problem> read = TranslatorProblems(files.ReadFile(errorFile));
        run.problems.insert(run.problems.end(), std::make_move_iterator(read.begin()),
                            std::make_move_iterator(read.end()));
        RecordStamps(files, names, run);
    }
}

void ReadCompilerProblems(FileSystem& files, const BuildNames& names, RunProblems& run) {
    const std::string errorFile = JoinPath(names.folder, "lcc.err");
    if (!files.FileExists(errorFile)) {
        return;
    }
    const std::string errorText = files.ReadFile(errorFile);
    std::optional<LoadedCFile> cFile;
    if (HasDiagnosticLine(errorText) && files.FileExists(run.cFile)) {
        cFile.emplace(files.ReadFile(run.cFile));
    }
    run.cFileFound = cFile.has_value();
    std::vector<Problem> read =
        CompilerProblems(errorText, cFile ? &cFile->References() : nullptr, run.cFile);
    run.problems.insert(run.problems.end(), std::make_move_iterator(read.begin()),
                        std::make_move_iterator(read.end()));
    RecordStamps(files, names, run);
}

bool EndsTheBuild(const RunProblems& run, bool checkWarnings) {
    return std::any_of(run.problems.begin(), run.problems.end(), [&](const Problem& problem) {
        return problem.kind != DiagnosticKind::CWarning || checkWarnings;
    });
}

std::string DisplayedMessage(const Problem& problem) {
    std::string line(TrimLeadingSpaces(problem.message));
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            c = ' ';
        }
    }
    return line;
}

std::string DisplayedBasicLine(const Problem& problem) {
    const std::optional<std::string> typed = LineText(problem.basicLine);
    return typed ? typed->substr(1) : std::string();
}

std::string_view KindWord(DiagnosticKind kind) {
    return kind == DiagnosticKind::CWarning ? "warning" : "error";
}

ProblemPlace PlaceOf(const Problem& problem, const RunProblems& run) {
    const std::string basicLine = DisplayedBasicLine(problem);
    if (problem.kind == DiagnosticKind::BasicError || !basicLine.empty()) {
        return {run.basicFile, basicLine};
    }
    return {problem.file.empty() ? run.cFile : problem.file,
            problem.cLine > 0 ? std::to_string(problem.cLine) : std::string()};
}

std::string ProblemLine(const Problem& problem, const RunProblems& run) {
    const ProblemPlace place = PlaceOf(problem, run);
    std::string line = place.file;
    if (!place.line.empty()) {
        line += ":" + place.line;
    }
    line.append(": ").append(KindWord(problem.kind)).append(": ").append(DisplayedMessage(problem));
    return line;
}

}  // namespace ktv
