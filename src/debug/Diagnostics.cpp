#include "debug/Diagnostics.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "text/Errors.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {

const CompilerDiagnosticTexts kCompilerErrorTexts{
    DiagnosticKind::CError, "error",  "error: ", "Unregonisable error.",
    "Error Reported was:",  "Line: ",
};

const CompilerDiagnosticTexts kCompilerWarningTexts{
    DiagnosticKind::CWarning, "warning", "warning: ", "Unregonisable Warning.",
    "Warning Reported was:",  " Line: ",
};

namespace {

// How far above a C line its reference comment may stand.
constexpr int kMaxReferenceDistance = 17;

constexpr std::string_view kReferencePrefix = "// [";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Malformed(std::string_view what, std::string_view line) {
    throw FormatError(std::string(what) + ": " + std::string(line));
}

// The C line number: digits, possibly with a fraction, of which the whole part
// counts.
int ParseCLineNumber(std::string_view text, std::string_view line) {
    std::string_view whole = text.substr(0, text.find('.'));
    if (whole.size() < text.size()) {
        const std::string_view fraction = text.substr(whole.size() + 1);
        if (fraction.find_first_not_of("0123456789") != std::string_view::npos) {
            Malformed("Bad C line number", line);
        }
    }
    int number = 0;
    const auto parsed = std::from_chars(whole.data(), whole.data() + whole.size(), number);
    if (parsed.ec != std::errc{} || parsed.ptr != whole.data() + whole.size()) {
        Malformed("Bad C line number", line);
    }
    return number;
}

}  // namespace

std::optional<std::string> LineText(std::string_view basicLine) {
    const std::string_view digits = TrimSpaces(basicLine);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    unsigned long number = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (parsed.ec != std::errc{} || number > 2'147'483'647ul) {
        return std::nullopt;
    }
    std::string text(1, ' ');
    text += std::to_string(number);
    return text;
}

bool IsDiagnosticLine(std::string_view line, const CompilerDiagnosticTexts& texts) {
    return StartsWithIgnoringCase(line, texts.word);
}

Diagnostic ParseDiagnosticLine(std::string_view line, const CompilerDiagnosticTexts& texts,
                               std::string_view baseName) {
    // The number is looked for from the (1-based) position just past where
    // "error: prog.c:" would end, which is the 0-based index of its last character.
    const std::size_t start = texts.label.size() + baseName.size() + std::string_view(".c:").size();
    const std::size_t first = start - 1 < line.size() ? line.find_first_of("123456789", start - 1)
                                                      : std::string_view::npos;
    if (first == std::string_view::npos) {
        Malformed("No C line number", line);
    }
    const std::size_t space = line.find(' ', first);
    if (space == std::string_view::npos) {
        Malformed("No message after the C line number", line);
    }
    Diagnostic diagnostic;
    diagnostic.kind = texts.kind;
    diagnostic.cLine = ParseCLineNumber(line.substr(first, space - first), line);
    diagnostic.message = std::string(line.substr(space));
    return diagnostic;
}

std::optional<ForeignDiagnostic> ForeignFileDiagnostic(std::string_view line,
                                                       const CompilerDiagnosticTexts& texts,
                                                       std::string_view cFile) {
    std::size_t start = texts.word.size();
    while (start < line.size() && (line[start] == ':' || line[start] == ' ')) {
        ++start;
    }
    const std::size_t end = line.find(": ", start);
    if (end == std::string_view::npos || end == start) {
        return std::nullopt;
    }
    std::string named(line.substr(start, end - start));
    // No file name holds a control character (a lone LF stays inside a read
    // line): such text names no file, and the line is read as the C file's.
    if (std::any_of(named.begin(), named.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return std::nullopt;
    }
    std::replace(named.begin(), named.end(), '/', '\\');
    const bool isCFile = named.find('\\') == std::string::npos
                             ? EqualsIgnoringCase(named, GetFileName(cFile))
                             : EqualsIgnoringCase(AbsolutePath(GetFolder(cFile), named), cFile);
    if (isCFile) {
        return std::nullopt;
    }
    ForeignDiagnostic foreign{std::move(named), 0, {}};
    std::string_view rest = line.substr(end + 1);  // from the space on
    const std::string_view number = TrimLeadingSpaces(rest);
    const std::size_t digits = std::min(number.find_first_not_of("0123456789"), number.size());
    if (digits > 0 && digits <= 9 && number.front() != '0') {
        foreign.line = std::stoi(std::string(number.substr(0, digits)));
        rest = number.substr(digits);
    }
    foreign.message = std::string(rest);
    return foreign;
}

CFileReferences::CFileReferences(std::string_view text) {
    // Large C files are common, so this stays close to the cost of reading the
    // text: line ends are found with memchr jumps and references by their
    // "// [", each then checked to stand at the start of its line.
    std::size_t counted = 0;  // line ends before here are counted in `line`
    int line = 1;
    const auto lineAt = [&](std::size_t position) {
        for (std::size_t cr = text.find('\r', counted); cr < position;
             cr = text.find('\r', cr + 1)) {
            ++line;
        }
        counted = position;
        return line;
    };
    for (std::size_t found = text.find(kReferencePrefix); found != std::string_view::npos;
         found = text.find(kReferencePrefix, found + 1)) {
        std::size_t start = found;
        while (start > 0 && text[start - 1] == ' ') {
            --start;
        }
        const bool atLineStart = start == 0 || text[start - 1] == '\r' ||
                                 (start >= 2 && text[start - 1] == '\n' && text[start - 2] == '\r');
        const std::size_t after = found + kReferencePrefix.size();
        if (!atLineStart || after >= text.size() || !IsDigit(text[after])) {
            continue;
        }
        const std::size_t end = text.find('\r', found);
        references_.push_back(
            Reference{lineAt(found), TrimSpaces(text.substr(found, end - found))});
    }
    lineAt(text.size());
    const std::size_t lastEnd = text.rfind('\r');
    const std::size_t lastStart =
        lastEnd == std::string_view::npos
            ? 0
            : lastEnd + (lastEnd + 1 < text.size() && text[lastEnd + 1] == '\n' ? 2 : 1);
    // Every line end closes a line; text after the last one is one more line.
    lineCount_ = line - 1 + (lastStart < text.size() ? 1 : 0);
}

std::optional<std::string> CFileReferences::FindBasicLine(int cLine) const {
    if (cLine < 1 || cLine > lineCount_) {
        return std::nullopt;
    }
    // The last reference at or above the C line.
    const auto after = std::upper_bound(
        references_.begin(), references_.end(), cLine,
        [](int line, const Reference& reference) { return line < reference.line; });
    if (after == references_.begin() || cLine - std::prev(after)->line > kMaxReferenceDistance) {
        return std::nullopt;
    }
    const std::string_view text = std::prev(after)->text;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
        Malformed("Line reference without \"]\"", text);
    }
    const std::string_view number =
        text.substr(kReferencePrefix.size(), close - kReferencePrefix.size());
    if (number.find_first_not_of("0123456789") != std::string_view::npos || !LineText(number)) {
        Malformed("Bad Basic line number in a line reference", text);
    }
    return std::string(number);
}

std::string MappedReport(const Diagnostic& diagnostic) {
    return diagnostic.message + "   -   Basic Line: " + LineText(diagnostic.basicLine).value_or("");
}

std::string UnmappedReport(const Diagnostic& diagnostic, const CompilerDiagnosticTexts& texts) {
    constexpr std::string_view kBreak = "\r\n";
    std::string report;
    report.append(texts.headline).append(kBreak).append(kBreak);
    report.append("Check Basic code is for KTV.").append(kBreak);
    report.append("Check not missing Libraries.").append(kBreak);
    report.append("Check you are using a good verion of KTVC.exe").append(kBreak);
    report.append("Chek there are no bad variable declarations").append(kBreak).append(kBreak);
    report.append(texts.reportedLabel).append(kBreak);
    report.append(diagnostic.message).append(kBreak).append(kBreak);
    report.append(texts.lineLabel).append(" ").append(std::to_string(diagnostic.cLine));
    return report;
}

}  // namespace ktv
