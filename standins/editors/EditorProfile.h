#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace ktv::standins {

// What tells the three stand-in editors apart: the name they log under and
// the title of their window for the file they show.
struct EditorProfile {
    std::string_view logName;  // "jfe.exe"
    std::string (*title)(std::string_view path, bool modified);
    // The editor takes "-n<line>" before the file, as editors with a line
    // option do; the others take the file alone.
    bool takesLineOption = false;
};

// "Jens' File Editor - [" + path + "]", or with " *]" once the text changed.
std::string JfeTitle(std::string_view path, bool modified);
// "ConTEXT - [" + path + "]".
std::string ConTextTitle(std::string_view path, bool modified);
// The file's name without its folder, then " - Notepad".
std::string NotepadTitle(std::string_view path, bool modified);

// The file named on a raw command line: everything after the program's own
// name and the spaces behind it, without the double quotes around it.
std::string FileArgument(std::string_view commandLine);

// "-n<line>" and the file after it on a raw command line; line 0 without the
// option.
std::pair<long, std::string> LineOptionAndFile(std::string_view commandLine);

// The file's name without its folder, then " - Line Editor".
std::string LineEditorTitle(std::string_view path, bool modified);

// The file's text with every line end (CR LF, lone CR, lone LF) as CR LF,
// which is what a multi-line edit control shows as a line break.
std::string ToEditText(std::string_view bytes);

// Appends "<name> <field>: <value>" lines to "editors.log" in the current
// directory, one open, write and close per line, so that a test reading the
// log meanwhile sees every line whole.
class EditorLog {
public:
    explicit EditorLog(std::string_view name) : name_(name) {}
    void Write(std::string_view field, std::string_view value) const;

private:
    std::string name_;
};

}  // namespace ktv::standins
