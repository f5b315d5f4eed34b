#pragma once

#include <string>

namespace ktv {

enum class DiagnosticKind { CError, CWarning, BasicError };

// One problem found in an error file.
struct Diagnostic {
    DiagnosticKind kind = DiagnosticKind::CError;
    std::string message;
    int cLine = 0;          // 0 for a translator error
    std::string basicLine;  // the Basic line number as read
};

}  // namespace ktv
