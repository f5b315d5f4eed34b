#pragma once

#include <string>

#include "debug/DebugContext.h"

namespace ktv {

class Registry;

// Which caller opens the editor; it selects the waits between the steps.
enum class NavigationTiming { Compiler, Translator };

// Opens the Basic file in the chosen editor (Notepad, JFE or ConTEXT) and
// steers it to the Basic line: Ctrl+G, the line, Enter, Home, Shift+End.
void OpenEditorAtLine(DebugContext& context, const std::string& basicLine, NavigationTiming timing);

// Writes 0 to Notepad's per-user word-wrap value, so that a Notepad started
// here selects whole lines. Reports nothing.
void ApplyNotepadWordWrapGuard(Registry& registry);

}  // namespace ktv
