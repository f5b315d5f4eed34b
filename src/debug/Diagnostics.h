#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ktv {

enum class DiagnosticKind { CError, CWarning, BasicError };

// One problem found in an error file.
struct Diagnostic {
    DiagnosticKind kind = DiagnosticKind::CError;
    std::string message;
    int cLine = 0;          // 0 for a translator error
    std::string basicLine;  // the Basic line number as read
};

// A Basic line number as it is shown and typed: one space, then the digits of
// the number held in `basicLine` (" 27" for "27", " 12" for " 12", " 7" for
// "007"). Spaces around the number are allowed; anything else, a sign
// included, means the text holds no line number: nothing is returned, and no
// stray text can reach the keystrokes typed into an editor.
std::optional<std::string> LineText(std::string_view basicLine);

// The texts by which the compiler's errors and warnings differ: how their
// lines in "lcc.err" begin and how an unmapped one is reported.
struct CompilerDiagnosticTexts {
    DiagnosticKind kind;
    std::string_view word;           // a diagnostic line begins with it, in any case
    std::string_view label;          // sets where the line number is looked for
    std::string_view headline;       // first line of the unmapped report
    std::string_view reportedLabel;  // before the compiler's message
    std::string_view lineLabel;      // before the C line
};

extern const CompilerDiagnosticTexts kCompilerErrorTexts;
extern const CompilerDiagnosticTexts kCompilerWarningTexts;

// True when the line, as it stands (not trimmed), begins with the kind's word
// in any letter case.
bool IsDiagnosticLine(std::string_view line, const CompilerDiagnosticTexts& texts);

// Reads the C line number and the message of a diagnostic line. The number is
// the first run of text that begins with a digit 1 to 9 at or after the end of
// label + base name + ".c:" (counted as if the line began with them) and ends
// at the next space; the message is the rest of the line from that space on.
// Throws FormatError when the line has no such number.
Diagnostic ParseDiagnosticLine(std::string_view line, const CompilerDiagnosticTexts& texts,
                               std::string_view baseName);

// A compiler line that names another file than the build's C file (a header
// whose declaration clashes with the program's, say): that file as the line
// writes it, and the problem's line and message in it. Nothing when the line
// is about the build's C file or names no file: it is then read and led back
// as ParseDiagnosticLine says. The named file is the text after the kind's
// word (and a colon and spaces after it) up to the first ": "; it is the C
// file when it has the C file's full path (`cFile`; a relative folder counts
// from the C file's), or its name when the line gives no folder, letter case
// aside.
struct ForeignDiagnostic {
    std::string file;
    int line = 0;         // 0: the line gives none
    std::string message;  // from the space after the line number, as for the C file
};
std::optional<ForeignDiagnostic> ForeignFileDiagnostic(std::string_view line,
                                                       const CompilerDiagnosticTexts& texts,
                                                       std::string_view cFile);

// The C file as the mapping needs it: how many lines it has and where its
// line-reference comments stand (lines that, without leading spaces, begin
// with "// [" and a digit). Built in one pass; it points into the text, which
// must outlive it.
class CFileReferences {
public:
    explicit CFileReferences(std::string_view text);

    // Leads a C line back to a Basic line: the nearest reference on the C line
    // itself or on one of the 17 lines above it gives the Basic line, the text
    // between "[" and the first "]". Nothing when there is none in reach or
    // cLine lies beyond the end of the file. Throws FormatError when that
    // nearest reference has no "]" or no plain number before it.
    std::optional<std::string> FindBasicLine(int cLine) const;

private:
    struct Reference {
        int line;
        std::string_view text;
    };
    int lineCount_ = 0;
    std::vector<Reference> references_;  // by line number
};

// The report of a diagnostic that was led back to its Basic line.
std::string MappedReport(const Diagnostic& diagnostic);

// The checklist reported for a diagnostic that could not be led back.
std::string UnmappedReport(const Diagnostic& diagnostic, const CompilerDiagnosticTexts& texts);

}  // namespace ktv
