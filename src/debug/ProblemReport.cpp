#include "debug/ProblemReport.h"

#include <algorithm>

#include "debug/Diagnostics.h"
#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"

namespace ktv {
namespace {

using ReportBox = void (*)(Desktop&, WindowRef, std::string_view);

Diagnostic DiagnosticOf(const Problem& problem) {
    return Diagnostic{problem.kind, problem.message, problem.cLine, problem.basicLine};
}

bool ShowCompilerProblem(DebugContext& context, const RunProblems& run,
                         const CompilerDiagnosticTexts& texts, ReportBox box) {
    Desktop& desktop = context.platform.desktop;
    const Problem* lastUnmapped = nullptr;
    for (const Problem& problem : run.problems) {
        if (problem.kind != texts.kind) {
            continue;
        }
        if (!problem.file.empty()) {
            lastUnmapped = &problem;  // another file's line leads back to nothing
            continue;
        }
        if (!problem.unreadable.empty()) {
            throw FormatError(problem.unreadable);
        }
        if (!run.cFileFound) {
            // Without the C file nothing can be led back: the first one is reported.
            box(desktop, context.owner, UnmappedReport(DiagnosticOf(problem), texts));
            return false;
        }
        if (!problem.basicLine.empty()) {
            box(desktop, context.owner, MappedReport(DiagnosticOf(problem)));
            OpenEditorAtLine(context, problem.basicLine, NavigationTiming::Compiler);
            return false;
        }
        lastUnmapped = &problem;
    }
    if (lastUnmapped == nullptr) {
        return true;
    }
    box(desktop, context.owner, UnmappedReport(DiagnosticOf(*lastUnmapped), texts));
    return false;
}

}  // namespace

bool ShowCErrors(DebugContext& context, const RunProblems& run) {
    return ShowCompilerProblem(context, run, kCompilerErrorTexts, &CErrorBox);
}

bool ShowCWarnings(DebugContext& context, const RunProblems& run) {
    return ShowCompilerProblem(context, run, kCompilerWarningTexts, &CWarningBox);
}

bool ShowBasicErrors(DebugContext& context, const RunProblems& run) {
    const auto first = std::find_if(run.problems.begin(), run.problems.end(), [](const Problem& p) {
        return p.kind == DiagnosticKind::BasicError;
    });
    if (first == run.problems.end()) {
        return true;
    }
    BasicErrorBox(context.platform.desktop, context.owner, first->message);
    if (first->basicLine.empty()) {
        // No line to go to: the report alone says what is wrong.
        return false;
    }
    // The report has been shown and stands; an editor that cannot be opened
    // must not end the program, and the run ends here anyway.
    IgnoringFailure(
        [&] { OpenEditorAtLine(context, first->basicLine, NavigationTiming::Translator); });
    return false;
}

}  // namespace ktv
