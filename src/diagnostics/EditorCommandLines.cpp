#include "diagnostics/EditorCommandLines.h"

#include "build/PathHelpers.h"
#include "main/MainForm.h"
#include "platform/Errors.h"

namespace ktv {

std::string QuoteIfSpaced(std::string_view path) {
    const bool quoted = path.size() >= 2 && path.front() == '"' && path.back() == '"';
    if (quoted || path.find(' ') == std::string_view::npos) {
        return std::string(path);
    }
    std::string out;
    out.reserve(path.size() + 2);
    out += '"';
    out += path;
    out += '"';
    return out;
}

std::string NotepadCommandLine(std::string_view systemFolder, const MainForm& form) {
    if (systemFolder.empty()) {
        throw Error("The Windows system folder is unknown, so Notepad cannot be started");
    }
    return QuoteIfSpaced(JoinPath(systemFolder, "notepad.exe")) + " " +
           QuoteIfSpaced(form.Txt_BasFile.Text());
}

std::string JfeCommandLine(const MainForm& form) {
    return QuoteIfSpaced(form.Txt_KtvPath.Text() + "\\bin\\jfe.exe") + " " +
           QuoteIfSpaced(form.Txt_BasFile.Text());
}

std::string ConTextCommandLine(const MainForm& form) {
    return QuoteIfSpaced(kConTextPath) + " " + QuoteIfSpaced(form.Txt_BasFile.Text());
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
