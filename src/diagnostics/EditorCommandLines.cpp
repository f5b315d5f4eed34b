#include "diagnostics/EditorCommandLines.h"

#include "main/MainForm.h"

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

std::string NotepadCommandLine(const MainForm& form) {
    std::string commandLine = "notepad.exe ";
    commandLine += QuoteIfSpaced(form.Txt_BasFile.Text());
    return commandLine;
}

std::string JfeCommandLine(const MainForm& form) {
    return QuoteIfSpaced(form.Txt_KtvPath.Text() + "\\bin\\jfe.exe") + " " +
           QuoteIfSpaced(form.Txt_BasFile.Text());
}

std::string ConTextCommandLine(const MainForm& form) {
    return QuoteIfSpaced(kConTextPath) + " " + QuoteIfSpaced(form.Txt_BasFile.Text());
}

}  // namespace ktv
