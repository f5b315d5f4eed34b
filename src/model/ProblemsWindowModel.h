#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "debug/DebugContext.h"
#include "debug/Problems.h"
#include "model/ProblemCode.h"

namespace ktv {

enum class ProblemColumn { Kind, BasicLine, Message, CLine };

// The Problems window's content and what its rows do. It keeps its own copy
// of the run's options and names, so that a row opens the editor the run
// used, whatever the main window's fields say by then.
class ProblemsWindowModel {
public:
    ProblemsWindowModel(RunProblems list, const DebugContext& context);
    ProblemsWindowModel(const ProblemsWindowModel&) = delete;
    ProblemsWindowModel& operator=(const ProblemsWindowModel&) = delete;

    // "Problems - " and the Basic file's name.
    std::string Title() const;
    std::size_t Count() const { return list_.problems.size(); }
    std::string Cell(std::size_t row, ProblemColumn column) const;

    // The rows, one "PATH:LINE: KIND: MESSAGE" line each, every line ended by CR LF.
    std::string CopyText(const std::vector<std::size_t>& rows) const;

    // The code beside the row's problem, for the pane under the list (see
    // ProblemCode); empty for no row.
    std::string CodeBeside(std::size_t row);

    // Sends the chosen editor to the row's Basic line, as the box's problem
    // did. A row without one opens the C file at its C line in the user's own
    // editor, and does nothing for an editor steered by keys. A failure is
    // reported in a box.
    void Open(std::size_t row);

private:
    RunProblems list_;
    DebugOptions options_;
    BuildNames names_;
    Platform& platform_;
    WindowRef owner_;
    RunControl run_;  // an editor steered from a row
    ProblemCode code_;
};

}  // namespace ktv
