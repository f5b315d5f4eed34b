#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "debug/DebugContext.h"

namespace ktv {

// The command lines that open the Basic file in each editor. Notepad is
// started from the Windows system folder by its full path: a bare name would
// be looked for in the program's folder and the current directory (the Basic
// file's) first, where a notepad.exe that came with a project would run
// instead. Throws Error when the system folder is unknown.
std::string NotepadCommandLine(std::string_view systemFolder, const DebugOptions& options);
std::string JfeCommandLine(const DebugOptions& options);  // under the KTV directory
std::string ConTextCommandLine(const DebugOptions& options);

// Where ConTEXT is expected to be installed.
inline constexpr const char* kConTextPath = "C:\\Program Files\\ConTEXT\\ConTEXT.exe";

// The titles JFE gives a window that shows the Basic file, in the order they
// are tried: the file's name with and without the " *" of a changed text,
// then its path as the field holds it, without and with.
std::vector<std::string> JfeWindowTitles(const std::string& fileName, const std::string& basicFile);

// "ConTEXT - [" + the Basic file as the field holds it + "]".
std::string ConTextWindowTitle(const std::string& basicFile);

}  // namespace ktv
