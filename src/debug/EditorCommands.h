#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace ktv {

// "My editor": an editor started with the file and the line on its command
// line, from a template the user gives, such as
//   "C:\Program Files\Notepad++\notepad++.exe" -n{line} "{file}"
// {file} stands for the full path of the file, {line} for the line number.

inline constexpr std::string_view kFilePlaceholder = "{file}";
inline constexpr std::string_view kLinePlaceholder = "{line}";

// Nothing when the template can open a file at a line; else why not, in
// words for the user.
std::optional<std::string> EditorCommandProblem(std::string_view commandTemplate);

// The command line: every {file} replaced by the path and every {line} by the
// line's digits. The template's own quotes stay; nothing else is quoted,
// escaped or added.
std::string ExpandEditorCommand(std::string_view commandTemplate, std::string_view file,
                                std::string_view line);

// A template for an editor program chosen by its file: the known editor's
// line option when its file name is one of theirs, else only the file.
std::string EditorCommandFor(std::string_view program);

// Templates for the editors found on this machine, by their App Paths entry
// in the registry or in their usual folders (per-user installs included), in
// the order of the known editors: Notepad++, Visual Studio Code, Sublime
// Text, Notepad3, Notepad2, gVim, Geany, EmEditor, UltraEdit.
std::vector<std::string> FindInstalledEditors(Platform& platform);

}  // namespace ktv
