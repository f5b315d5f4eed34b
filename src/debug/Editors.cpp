#include "debug/Editors.h"

#include "text/Errors.h"
#include "text/Paths.h"

namespace ktv {

std::string NotepadCommandLine(std::string_view systemFolder, const DebugOptions& options) {
    if (systemFolder.empty()) {
        throw Error("The Windows system folder is unknown, so Notepad cannot be started");
    }
    return QuoteIfSpaced(JoinPath(systemFolder, "notepad.exe")) + " " +
           QuoteIfSpaced(options.basicFile);
}

std::string JfeCommandLine(const DebugOptions& options) {
    return QuoteIfSpaced(options.ktvPath + "\\bin\\jfe.exe") + " " +
           QuoteIfSpaced(options.basicFile);
}

std::string ConTextCommandLine(const DebugOptions& options) {
    return QuoteIfSpaced(kConTextPath) + " " + QuoteIfSpaced(options.basicFile);
}

std::vector<std::string> JfeWindowTitles(const std::string& fileName,
                                         const std::string& basicFile) {
    return {
        "Jens' File Editor - [" + fileName + " *]",
        "Jens' File Editor - [" + fileName + "]",
        "Jens' File Editor - [" + basicFile + "]",
        "Jens' File Editor - [" + basicFile + " *]",
    };
}

std::string ConTextWindowTitle(const std::string& basicFile) {
    return "ConTEXT - [" + basicFile + "]";
}

}  // namespace ktv
