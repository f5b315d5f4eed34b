#pragma once

#include <memory>

#include "model/ProblemsWindowModel.h"
#include "platform/WindowRef.h"

namespace ktv {

struct WindowSize {
    int width = 0;
    int height = 0;
};

// What the main window's behaviour asks of the real window beyond its
// controls: its outer size and position, the modal About box, the Problems
// window, and the end of the program.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual WindowRef Handle() const = 0;
    virtual WindowSize OuterSize() const = 0;
    virtual void MoveTo(int left, int top) = 0;

    // Shows the About box modally; returns when it is closed.
    virtual void ShowAboutBox() = 0;

    // Shows the Problems window on this list, in place of one already open,
    // without taking the focus; closes it.
    virtual void ShowProblems(std::unique_ptr<ProblemsWindowModel> list) = 0;
    virtual void CloseProblems() = 0;

    // Ends the process at once, taking every window of the program with it.
    virtual void EndProgram() = 0;
};

}  // namespace ktv
