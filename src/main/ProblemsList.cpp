#include "main/ProblemsList.h"

#include <exception>

#include "debug/EditorNavigation.h"
#include "debug/ErrorBoxes.h"
#include "text/Errors.h"

namespace ktv {

ProblemsList::ProblemsList(ProblemList list, const DebugContext& run)
    : list_(std::move(list)),
      options_(run.options),
      run_(run.run),
      platform_(run.platform),
      owner_(run.owner) {}

std::string ProblemsList::Title() const {
    return "Problems - " + run_.fileName;
}

std::string ProblemsList::Cell(std::size_t row, ProblemColumn column) const {
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
            return problem.basicLine;
        case ProblemColumn::Message:
            return problem.message;
        case ProblemColumn::CLine:
            return problem.cLine > 0 ? std::to_string(problem.cLine) : "";
    }
    return {};
}

std::string ProblemsList::CopyText(const std::vector<std::size_t>& rows) const {
    std::string text;
    for (const std::size_t row : rows) {
        if (row < list_.problems.size()) {
            text.append(ProblemLine(list_.problems[row], list_)).append("\r\n");
        }
    }
    return text;
}

void ProblemsList::Open(std::size_t row) {
    if (row >= list_.problems.size() || list_.problems[row].basicLine.empty()) {
        return;
    }
    const Problem& problem = list_.problems[row];
    DebugContext context{options_, run_, platform_, owner_};
    try {
        OpenEditorAtLine(context, problem.basicLine,
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
