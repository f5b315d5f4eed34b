#pragma once

#include <string>
#include <vector>

#include "model/MainWindowModel.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// Keeps the main window's real controls showing the model, and hands the
// user's clicks and typing to the model: it moves text, captions, states and
// clicks between the two and decides nothing. It also keeps the keyboard
// focus where the user had it while controls are disabled and enabled around
// a run. The window as a whole disabled means its text fields disabled: the
// window itself stays enabled, so that a control the model keeps on (the
// run's Stop) still takes input.
class ControlMirror {
public:
    // Binds each control of the model to the child window with its ID, and
    // shows the model's state in them.
    ControlMirror(HWND window, MainWindowModel& model);
    ControlMirror(const ControlMirror&) = delete;
    ControlMirror& operator=(const ControlMirror&) = delete;
    // The model outlives no window it points to: it is unhooked here.
    ~ControlMirror();

    // A child's notification (WM_COMMAND): typing reaches the model's field,
    // a click its check box, option button or button.
    void OnCommand(int id, int code);

    // The window became active or inactive (WM_ACTIVATE).
    void OnActivate(bool active);

    // Whether the child shows one of the model's text fields.
    bool IsTextField(HWND child) const;

private:
    struct Binding {
        Control* control;
        HWND child;
        bool dropDown = false;  // a text field shown as an editable drop-down
        std::vector<std::string> shownSuggestions;
    };

    static LRESULT CALLBACK DropDownProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR index, DWORD_PTR self);
    void Mirror(Binding& binding);
    // Writes the text into the child unless it shows it already.
    void ShowText(HWND child, const std::string& text);
    // The focus, when it is in one of the window's controls, for later.
    void RememberFocus();
    void MirrorSuggestions(Binding& binding);
    void OnTextFieldCommand(const Binding& binding, int code);
    void MirrorWindowEnabled();
    const Binding* Find(int id) const;
    Binding* Find(int id);

    HWND window_;
    MainWindowModel& model_;
    std::vector<Binding> bindings_;
    bool settingText_ = false;  // the program is writing an edit control
    HWND focusToRestore_ = nullptr;
    HWND focusLentTo_ = nullptr;  // holds the focus while focusToRestore_ is disabled
};

}  // namespace ktv::win32
