#include "debug/ErrorReaders.h"

#include <optional>

#include "debug/Diagnostics.h"
#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Paths.h"

namespace ktv {
namespace {

using ReportBox = void (*)(Desktop&, WindowRef, std::string_view);

// The C file's text and its line references, read once per call however
// many diagnostics are looked up in it. Not movable: the references point
// into the text.
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

bool ShowCompilerDiagnostics(DebugContext& context, const std::string& errorFile,
                             const CompilerDiagnosticTexts& texts, ReportBox box) {
    FileSystem& files = context.platform.files;
    if (!files.FileExists(errorFile)) {
        return true;
    }
    const std::string errorText = files.ReadFile(errorFile);
    const std::string cPath = JoinPath(context.run.folder, context.run.baseName + ".c");

    std::optional<LoadedCFile> cFile;
    std::optional<Diagnostic> lastUnmapped;
    LineCursor cursor(errorText);
    while (const std::optional<LineView> line = cursor.Next()) {
        if (!IsDiagnosticLine(line->text, texts)) {
            continue;
        }
        Diagnostic diagnostic = ParseDiagnosticLine(line->text, texts, context.run.baseName);
        if (!cFile) {
            if (!files.FileExists(cPath)) {
                // Without the C file nothing can be led back: the first one is reported.
                box(context.platform.desktop, context.owner, UnmappedReport(diagnostic, texts));
                return false;
            }
            cFile.emplace(files.ReadFile(cPath));
        }
        if (std::optional<std::string> basicLine =
                cFile->References().FindBasicLine(diagnostic.cLine)) {
            diagnostic.basicLine = std::move(*basicLine);
            box(context.platform.desktop, context.owner, MappedReport(diagnostic));
            OpenEditorAtLine(context, diagnostic.basicLine, NavigationTiming::Compiler);
            return false;
        }
        lastUnmapped = std::move(diagnostic);
    }
    if (!lastUnmapped) {
        return true;
    }
    box(context.platform.desktop, context.owner, UnmappedReport(*lastUnmapped, texts));
    return false;
}

}  // namespace

bool ShowCErrors(DebugContext& context, const std::string& errorFile) {
    return ShowCompilerDiagnostics(context, errorFile, kCompilerErrorTexts, &CErrorBox);
}

bool ShowCWarnings(DebugContext& context, const std::string& errorFile) {
    return ShowCompilerDiagnostics(context, errorFile, kCompilerWarningTexts, &CWarningBox);
}

bool ShowBasicErrors(DebugContext& context, const std::string& errorFile) {
    FileSystem& files = context.platform.files;
    if (!files.FileExists(errorFile)) {
        return true;
    }
    const std::string text = files.ReadFile(errorFile);
    const std::optional<LineView> firstLine = LineCursor(text).Next();
    if (!firstLine) {
        return true;
    }
    const std::string report(firstLine->text);
    // The report's last word is the Basic line: from the last space on.
    const std::size_t lastSpace = report.rfind(' ');
    BasicErrorBox(context.platform.desktop, context.owner, report);
    if (lastSpace == std::string::npos) {
        // No line to go to: the report alone says what is wrong.
        return false;
    }
    // The report has been shown and stands; an editor that cannot be opened
    // must not end the program, and the run ends here anyway.
    IgnoringFailure(
        [&] { OpenEditorAtLine(context, report.substr(lastSpace), NavigationTiming::Translator); });
    return false;
}

}  // namespace ktv
