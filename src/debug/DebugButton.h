#pragma once

#include <string>

#include "debug/DebugContext.h"
#include "debug/Problems.h"

namespace ktv {

// What a Debug run asks of the main window: to be locked while the tools run
// and given back at the end, to show the directories as normalised and how
// the run ended, and to list a run's problems.
class DebugButtonWindow {
public:
    virtual ~DebugButtonWindow() = default;

    // Every command button, option button and check box, in the window's
    // order, except "Debug": while they are off it reads "Stop" and stops
    // the run, so no second run can start.
    virtual void SetButtonsEnabled(bool enabled) = 0;

    // The window as a whole, its text fields included.
    virtual void SetWindowEnabled(bool enabled) = 0;

    virtual void ShowDirectories(const std::string& lccPath, const std::string& ktvPath) = 0;

    // How the run ended, or where it stands once its tools are done ("1
    // error, 2 warnings"); it replaces the step under way and stays until the
    // next run.
    virtual void ShowOutcome(const std::string& text) = 0;

    // Lists every problem of a run that ended on a report of more than one,
    // without taking the focus from the editor.
    virtual void ShowProblems(RunProblems problems) = 0;
};

// One press of Debug: the build with the window locked and the hourglass up
// while the tools run, its steps shown as they go (DebugContext::run). A
// problem is reported in a box, the editor sent to its line and, when there
// are more, all listed; a clean build shows "Success!" and runs the chosen
// post-build action; a stop ends the run without a box. Every run, however
// it ends, gives the window back. Nothing escapes.
void RunDebugButton(DebugContext& context, DebugButtonWindow& window);

}  // namespace ktv
