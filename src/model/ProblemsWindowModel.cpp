#include "model/ProblemsWindowModel.h"

#include <exception>

#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"
#include "text/Paths.h"

namespace ktv {

ProblemsWindowModel::ProblemsWindowModel(RunProblems list, const DebugContext& context)
    : list_(std::move(list)),
      options_(context.options),
      names_(context.names),
      platform_(context.platform),
      owner_(context.owner),
      code_(context.platform.files, list_, names_) {}

std::string ProblemsWindowModel::Title() const {
    return "Problems - " + names_.fileName;
}

std::string ProblemsWindowModel::Cell(std::size_t row, ProblemColumn column) const {
    if (row >= list_.problems.size()) {
        return {};
    }
    const Problem& problem = list_.problems[row];
    switch (column) {
        case ProblemColumn::Kind:
            return problem.kind == DiagnosticKind::BasicError ? "Basic error"
                   : problem.kind == DiagnosticKind::CError   ? "C error"
                                                              : "C warning";
        case ProblemColumn::BasicLine:
            return DisplayedBasicLine(problem);
        case ProblemColumn::Message:
            return DisplayedMessage(problem);
        case ProblemColumn::CLine: {
            // Another file's line says whose it is.
            const std::string number = problem.cLine > 0 ? std::to_string(problem.cLine) : "";
            return problem.file.empty() ? number : GetFileName(problem.file) + ":" + number;
        }
    }
    return {};
}

std::string ProblemsWindowModel::CopyText(const std::vector<std::size_t>& rows) const {
    std::string text;
    for (const std::size_t row : rows) {
        if (row < list_.problems.size()) {
            text.append(ProblemLine(list_.problems[row], list_)).append("\r\n");
        }
    }
    return text;
}

std::string ProblemsWindowModel::CodeBeside(std::size_t row) {
    return row < list_.problems.size() ? code_.For(list_.problems[row]) : std::string();
}

void ProblemsWindowModel::Open(std::size_t row) {
    if (row >= list_.problems.size()) {
        return;
    }
    const Problem& problem = list_.problems[row];
    const std::string basicLine = DisplayedBasicLine(problem);
    DebugContext context{options_, names_, platform_, owner_, run_};
    if (basicLine.empty()) {
        // Only an editor that takes its line on the command line can be sent
        // into the C file or another file the compiler named (one it names
        // without a folder was found on its include path, which is its own):
        // the others are steered to lines of the Basic file.
        const std::string file = ProblemFile(problem, list_, names_);
        if (options_.editor == EditorChoice::MyEditor && problem.cLine > 0 && !file.empty()) {
            OpenInMyEditor(context, file, std::to_string(problem.cLine));
        }
        return;
    }
    try {
        OpenEditorAtLine(context, basicLine,
                         problem.kind == DiagnosticKind::BasicError ? NavigationTiming::Translator
                                                                    : NavigationTiming::Compiler);
    } catch (const std::exception& failure) {
        IgnoringFailure([&] {
            ErrorBox(platform_.desktop, owner_,
                     std::string("Could not open the editor: ") + failure.what());
        });
    }
}

}  // namespace ktv
