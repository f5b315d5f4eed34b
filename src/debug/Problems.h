#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "debug/DebugContext.h"
#include "debug/Diagnostics.h"

namespace ktv {

// One line of an error file that reports a problem, kept as it was read: the
// box shows it so, and the list and ktvbuild show it as one tidy line
// (DisplayedMessage, DisplayedBasicLine).
struct Problem {
    DiagnosticKind kind = DiagnosticKind::CError;
    // The translator's whole line; the compiler's text from the space after
    // the C line number, or its whole line when it has no C line number.
    std::string message;
    int cLine = 0;  // 0 for a translator line or a line without a C line number
    // The translator's line from its last space on (empty: the line has no
    // space); the number of the line reference a compiler line leads back to
    // (empty: none in reach).
    std::string basicLine;
    // Why the line could not be read whole: it has no C line number, or the
    // line reference it meets is broken. Empty when it could. The box cannot
    // report such a line; the list shows what there is of it.
    std::string unreadable;
    // The file the compiler names when it is not the build's C file (a
    // header): cLine is then a line of that file, and the problem leads back
    // to no Basic line. Empty for the C file and the translator's lines.
    std::string file;
};

// Every problem of one Debug run: the translator's, then the compiler's, in
// the order of their files, read once after each tool.
struct RunProblems {
    std::string basicFile;    // as the Basic file field holds it
    std::string cFile;        // the Basic file's folder, base name and ".c"
    bool cFileFound = false;  // the compiler's lines were led back through it
    std::vector<Problem> problems;
    // The files the problems are in, as they were when the problems were
    // read (nothing: not there), so that their lines can be shown later
    // with a word when a file has changed since. By full path.
    std::map<std::string, std::optional<FileStamp>> stamps;
};

// The full path of the file a compiler's line is about: the C file, or the
// other file it named, counted from the run's folder; empty for one named
// without a folder, which the compiler found on its own include path.
std::string CompilerFile(const Problem& problem, const RunProblems& run, const BuildNames& names);

// The full path of the file a problem is shown in: the Basic file for the
// translator's lines and the compiler's led back to a Basic line, else its
// CompilerFile.
std::string ProblemFile(const Problem& problem, const RunProblems& run, const BuildNames& names);

// A run's list before any error file is read.
RunProblems NoProblems(const std::string& basicFile, const BuildNames& names);

// Reads the translator's "ktv.err" in the run's folder: each line is a
// problem whose last word is its Basic line. The first line counts even when
// blank, since it alone ends the run; later blank lines are skipped. Nothing
// when there is no file. Throws FileError when it cannot be read.
void ReadTranslatorProblems(FileSystem& files, const BuildNames& names, RunProblems& run);

// Reads the compiler's "lcc.err" in the run's folder: each error and warning
// line in file order, led back to its Basic line through the C file's line
// references (the C file is read once, and only when there is a line to lead
// back). Throws FileError when a file cannot be read.
void ReadCompilerProblems(FileSystem& files, const BuildNames& names, RunProblems& run);

// The error files' lines as problems, for the readers above and the fuzzers:
// `references` is null without a C file; `cFile` is the build's C file.
std::vector<Problem> TranslatorProblems(std::string_view errorText);
std::vector<Problem> CompilerProblems(std::string_view errorText, const CFileReferences* references,
                                      std::string_view cFile);

// Whether the problems end the build: any error does, a warning only when
// warnings are checked.
bool EndsTheBuild(const RunProblems& run, bool checkWarnings);

// The message as one line: without leading spaces, each control character a
// space, so that a problem stays one line wherever it is printed or copied.
std::string DisplayedMessage(const Problem& problem);

// The Basic line's digits; empty when the problem leads back to none.
std::string DisplayedBasicLine(const Problem& problem);

// "error" or "warning", as compilers write it.
std::string_view KindWord(DiagnosticKind kind);

// Where a problem belongs: the Basic file and line for a problem led back (or
// a translator's), else the C file (or the other file the compiler named, as
// the compiler wrote it) and line. `line` holds digits, or nothing when there
// is no line.
struct ProblemPlace {
    std::string file;
    std::string line;
};
ProblemPlace PlaceOf(const Problem& problem, const RunProblems& run);

// "PATH:LINE: KIND: MESSAGE", the form compilers print and editors read, at
// the problem's place; no LINE part when there is none.
std::string ProblemLine(const Problem& problem, const RunProblems& run);

}  // namespace ktv
