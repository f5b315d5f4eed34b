#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ktv {

class MainForm;

// Puts a path that holds a space in double quotes, so that the started program
// sees it as one argument; any other path is returned exactly as written.
std::string QuoteIfSpaced(std::string_view path);

// The command lines that open the Basic file (Txt_BasFile) in each editor.
// Notepad is started from the Windows system folder by its full path: a bare
// name would be looked for in the program's folder and the current directory
// (the Basic file's) first, where any notepad.exe that came with a project
// would run instead. Throws Error when the system folder is unknown.
std::string NotepadCommandLine(std::string_view systemFolder, const MainForm& form);
std::string JfeCommandLine(const MainForm& form);  // under Txt_KtvPath
std::string ConTextCommandLine(const MainForm& form);

// Where ConTEXT is expected to be installed.
inline constexpr const char* kConTextPath = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";

// The titles JFE gives a window that shows the Basic file, in the order they
// are tried: the file's name with and without the " *" of a changed text,
// then its path as the field holds it, without and with.
std::vector<std::string> JfeWindowTitles(const std::string& fileName, const std::string& basicFile);

// "ConTEXT - [" + the Basic file as the field holds it + "]".
std::string ConTextWindowTitle(const std::string& basicFile);

}  // namespace ktv
