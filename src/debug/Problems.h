#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "debug/DebugContext.h"
#include "debug/Diagnostics.h"

namespace ktv {

// One line of an error file, with the Basic line it leads back to when it does.
struct Problem {
    DiagnosticKind kind = DiagnosticKind::CError;
    std::string basicLine;  // digits; empty when it cannot be led back
    int cLine = 0;          // 0 for a translator line or a line without a number
    std::string message;    // without leading spaces
};

// Every problem of a run, with the two files its lines count in.
struct ProblemList {
    std::string basicFile;  // as the Basic file field holds it
    std::string cFile;      // the Basic file's folder, base name and ".c"
    std::vector<Problem> problems;
};

// The translator's "ktv.err": each line is a problem whose last word gives its
// Basic line, as the box reads the first one. The first line counts even when
// blank, since it alone ends the run; later blank lines are skipped.
std::vector<Problem> ReadTranslatorProblems(std::string_view errorText);

// The compiler's "lcc.err": each error and warning line in file order, led back
// with the same rule as the box (`references` is null without a C file). A
// line whose C line cannot be read stays in the list, whole, without lines.
std::vector<Problem> ReadCompilerProblems(std::string_view errorText,
                                          const CFileReferences* references,
                                          std::string_view baseName);

// What a run left in its folder: the translator's problems, then, when the
// compiler ran, its errors and warnings.
ProblemList ReadRunProblems(FileSystem& files, const DebugOptions& options, const BuildRun& run,
                            bool compilerRan);

// "error" or "warning", as compilers write it.
std::string_view KindWord(DiagnosticKind kind);

// "PATH:LINE: KIND: MESSAGE", the form compilers print and editors read: the
// Basic file and line for a problem led back, else the C file and line; no
// LINE part when there is none.
std::string ProblemLine(const Problem& problem, const ProblemList& list);

}  // namespace ktv
