#pragma once

#include <string>
#include <string_view>

namespace ktv {

class MainForm;

// Puts a path that holds a space in double quotes, so that the started program
// sees it as one argument; any other path is returned exactly as written.
std::string QuoteIfSpaced(std::string_view path);

// The command lines that open the Basic file (Txt_BasFile) in each editor.
std::string NotepadCommandLine(const MainForm& form);
std::string JfeCommandLine(const MainForm& form);  // under Txt_KtvPath
std::string ConTextCommandLine(const MainForm& form);

// Where ConTEXT is expected to be installed.
inline constexpr const char* kConTextPath = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";

}  // namespace ktv
