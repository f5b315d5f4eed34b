#pragma once

#include <string_view>

#include "platform/WindowRef.h"

namespace ktv {

class Desktop;

// The four boxes that report a Debug run's problems. Each shows its prefix and
// the text, unchanged, in a modal box titled "Error!" and returns when the
// user has closed it.

// "Error: " + text, exclamation icon: the build driver's own failures.
void ErrorBox(Desktop& desktop, WindowRef owner, std::string_view text);

// "Basic Error: " + text, information icon: the translator's report.
void BasicErrorBox(Desktop& desktop, WindowRef owner, std::string_view text);

// "C Warning: " + text, information icon.
void CWarningBox(Desktop& desktop, WindowRef owner, std::string_view text);

// "C Error: " + text, information icon.
void CErrorBox(Desktop& desktop, WindowRef owner, std::string_view text);

}  // namespace ktv
