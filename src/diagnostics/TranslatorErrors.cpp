#include <exception>

#include "diagnostics/EditorNavigation.h"
#include "diagnostics/ErrorReaders.h"
#include "diagnostics/LineViews.h"
#include "diagnostics/MessageBoxes.h"

namespace ktv {

bool ShowBasicErrors(DebugContext& context, const std::string& errorFile) {
    FileSystem& files = context.platform.files;
    if (!files.FileExists(errorFile)) {
        return true;
    }
    const std::string text = files.ReadFile(errorFile);
    const std::optional<std::string_view> firstLine = FirstLine(text);
    if (!firstLine) {
        return true;
    }
    const std::string report(*firstLine);
    // The report's last word is the Basic line: from the last space on.
    const std::size_t lastSpace = report.rfind(' ');
    BasicErrorBox(context.platform.desktop, context.owner, report);
    if (lastSpace == std::string::npos) {
        // No line to go to: the report alone says what is wrong.
        return false;
    }
    try {
        OpenEditorAtLine(context, report.substr(lastSpace), NavigationTiming::Translator);
    } catch (const std::exception&) {
        // The report has been shown and stands; an editor that cannot be opened
        // must not end the program, and the run ends here anyway.
    }
    return false;
}

}  // namespace ktv
