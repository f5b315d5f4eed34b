#pragma once

#include <string>

#include "debug/DebugContext.h"

namespace ktv {

class Registry;

// Which caller opens the editor; it selects the waits between the steps.
enum class NavigationTiming { Compiler, Translator };

// Opens the Basic file in the chosen editor at the Basic line: Notepad, JFE
// or ConTEXT steered there by keys (GoToLineKeys), or the user's own editor
// started with the line on its command line.
void OpenEditorAtLine(DebugContext& context, const std::string& basicLine, NavigationTiming timing);

// Starts the user's own editor (DebugOptions::editorCommand) on the file at
// the line: no key, no window search. A command without {file}, or one that
// cannot start, is reported in a box that names it; nothing is thrown.
void OpenInMyEditor(DebugContext& context, const std::string& file, const std::string& line);

// Writes 0 to Notepad's per-user word-wrap value, so that a Notepad started
// here selects whole lines. Reports nothing.
void ApplyNotepadWordWrapGuard(Registry& registry);

}  // namespace ktv
