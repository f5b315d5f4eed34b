#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "debug/RunControl.h"
#include "platform/Desktop.h"

namespace ktv {

// Steers an editor that is brought forward to its go-to-line box by keys:
// Ctrl+G, the line text (" 12"), Enter, Home, Shift+End. Each key goes only
// into the window it is meant for:
// - Ctrl+G, Home and Shift+End into the editor's own window, in front;
// - the line and Enter into its go-to box: another window of the editor's
//   task whose focus is in a field to type into.
// Any other window of the editor's (a question whether to reload a changed
// file, a notice) gets no key: it is waited out while the user reads it, and
// a question that came instead of the go-to box is followed by Ctrl+G once
// more. Whatever does not come to the front in time ends the typing, so the
// line number never lands in the document or answers a question. Without a
// line text the go-to box is confirmed as it stands. With `skipFailures` a
// step that fails is skipped; otherwise its failure reaches the caller.
// While a question is up the run shows "Waiting for <editorName>'s question";
// a stop ends every wait, and no key follows it.
void SendGoToLine(Desktop& desktop, RunControl& run, const TaskWindow& editor,
                  std::string_view editorName, const std::optional<std::string>& lineText,
                  bool skipFailures);

}  // namespace ktv
