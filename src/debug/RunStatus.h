#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "debug/Problems.h"

namespace ktv {

// How a run ended, in the words the window's status bar shows until the next
// run.

inline constexpr std::string_view kStoppedStatus = "The Debug run was stopped.";

// "1 error, 2 warnings": the run's problems counted, translator lines as
// errors; "no problems" when the list is empty.
std::string ProblemCountText(const RunProblems& run);

// "Built c:\work\prog.exe in 2.4 s".
std::string BuiltText(std::string_view outputPath, std::chrono::milliseconds took);

// "Error: " and the first line of the box's text.
std::string FailureText(std::string_view boxText);

// The Basic file got its marker line; the user presses Debug again.
std::string MarkerAddedText(std::string_view fileName);

}  // namespace ktv
