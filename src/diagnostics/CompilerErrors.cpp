#include <optional>

#include "build/PathHelpers.h"
#include "diagnostics/CompilerDiagnostics.h"
#include "diagnostics/EditorNavigation.h"
#include "diagnostics/ErrorReaders.h"
#include "diagnostics/LineViews.h"
#include "diagnostics/MessageBoxes.h"

namespace ktv {
namespace {

using ReportBox = void (*)(Desktop&, WindowRef, std::string_view);

// The C file's text and its lines, read once per call however many
// diagnostics are looked up in it. Not movable: the lines point into the text.
class CFileLines {
public:
    explicit CFileLines(std::string text) : text_(std::move(text)), lines_(SplitLineViews(text_)) {}
    CFileLines(const CFileLines&) = delete;
    CFileLines& operator=(const CFileLines&) = delete;

    const std::vector<std::string_view>& Lines() const { return lines_; }

private:
    std::string text_;
    std::vector<std::string_view> lines_;
};

bool ShowCompilerDiagnostics(DebugContext& context, const std::string& errorFile,
                             const CompilerDiagnosticTexts& texts, ReportBox box) {
    FileSystem& files = context.platform.files;
    if (!files.FileExists(errorFile)) {
        return true;
    }
    const std::string errorText = files.ReadFile(errorFile);
    const std::string cFile = JoinPath(context.run.folder, context.run.baseName + ".c");

    std::optional<CFileLines> cLines;
    std::optional<Diagnostic> lastUnmapped;
    for (const std::string_view line : SplitLineViews(errorText)) {
        if (!IsDiagnosticLine(line, texts)) {
            continue;
        }
        Diagnostic diagnostic = ParseDiagnosticLine(line, texts, context.run.baseName);
        if (!cLines) {
            if (!files.FileExists(cFile)) {
                // Without the C file nothing can be led back: the first one is reported.
                box(context.platform.desktop, context.owner, UnmappedReport(diagnostic, texts));
                return false;
            }
            cLines.emplace(files.ReadFile(cFile));
        }
        if (std::optional<std::string> basicLine =
                FindBasicLine(cLines->Lines(), diagnostic.cLine)) {
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

}  // namespace ktv
