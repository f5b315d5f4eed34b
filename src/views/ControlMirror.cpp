#include "views/ControlMirror.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/AnsiText.h"

namespace ktv::win32 {
namespace {

WPARAM CheckValue(CheckState state) {
    switch (state) {
        case CheckState::Checked:
            return BST_CHECKED;
        case CheckState::Grayed:
            return BST_INDETERMINATE;
        case CheckState::Unchecked:
            break;
    }
    return BST_UNCHECKED;
}

}  // namespace

ControlMirror::ControlMirror(HWND window, MainWindowModel& model) : window_(window), model_(model) {
    for (Control* control : model_.Controls()) {
        const HWND child = ::GetDlgItem(window_, control->Id());
        char className[16] = {};
        ::GetClassNameA(child, className, sizeof className);
        bindings_.push_back({control, child, _stricmp(className, "ComboBox") == 0, {}});
    }
    for (size_t index = 0; index < bindings_.size(); ++index) {
        bindings_[index].control->SetViewObserver([this, index] { Mirror(bindings_[index]); });
        Mirror(bindings_[index]);
        if (bindings_[index].dropDown) {
            ::SetWindowSubclass(bindings_[index].child, &ControlMirror::DropDownProc, index,
                                reinterpret_cast<DWORD_PTR>(this));
        }
    }
    model_.window.SetViewObserver([this] { MirrorWindowEnabled(); });
    MirrorWindowEnabled();
}

// A drop-down tells its parent of a change of its text only when the user
// made it: text set from outside (WM_SETTEXT, as automation tools and screen
// readers set a value) is taken here, as an edit field's EN_CHANGE brings it.
LRESULT CALLBACK ControlMirror::DropDownProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR index, DWORD_PTR self) {
    const LRESULT result = ::DefSubclassProc(child, message, wParam, lParam);
    auto* mirror = reinterpret_cast<ControlMirror*>(self);
    if (message == WM_SETTEXT && !mirror->settingText_) {
        static_cast<TextField*>(mirror->bindings_[index].control)
            ->TakeTextFromView(WindowTextAnsi(child));
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(child, &ControlMirror::DropDownProc, index);
    }
    return result;
}

ControlMirror::~ControlMirror() {
    for (size_t index = 0; index < bindings_.size(); ++index) {
        if (bindings_[index].dropDown) {
            ::RemoveWindowSubclass(bindings_[index].child, &ControlMirror::DropDownProc, index);
        }
    }
    for (Control* control : model_.Controls()) {
        control->SetViewObserver(nullptr);
    }
    model_.window.SetViewObserver(nullptr);
}

const ControlMirror::Binding* ControlMirror::Find(int id) const {
    for (const Binding& binding : bindings_) {
        if (binding.control->Id() == id) {
            return &binding;
        }
    }
    return nullptr;
}

ControlMirror::Binding* ControlMirror::Find(int id) {
    return const_cast<Binding*>(static_cast<const ControlMirror&>(*this).Find(id));
}

bool ControlMirror::IsTextField(HWND child) const {
    const Binding* binding = Find(::GetDlgCtrlID(child));
    return binding != nullptr && binding->control->Kind() == ControlKind::TextField;
}

void ControlMirror::ShowText(HWND child, const std::string& text) {
    if (WindowTextAnsi(child) == text) {
        return;
    }
    // The control reports the change (EN_CHANGE, CBN_EDITCHANGE); the model
    // already holds this text, so that echo is not taken back.
    settingText_ = true;
    ::SetWindowTextA(child, text.c_str());
    settingText_ = false;
}

void ControlMirror::RememberFocus() {
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(window_, focus)) {
        focusToRestore_ = focus;
    }
}

void ControlMirror::Mirror(Binding& binding) {
    const Control& control = *binding.control;
    const HWND child = binding.child;
    switch (control.Kind()) {
        case ControlKind::TextField: {
            const auto& field = static_cast<const TextField&>(control);
            ShowText(child, field.Text());
            if (binding.dropDown) {
                MirrorSuggestions(binding);
            }
            break;
        }
        case ControlKind::CheckBox:
            ::SendMessageA(child, BM_SETCHECK,
                           CheckValue(static_cast<const CheckBox&>(control).State()), 0);
            break;
        case ControlKind::OptionButton:
            ::SendMessageA(
                child, BM_SETCHECK,
                static_cast<const OptionButton&>(control).Selected() ? BST_CHECKED : BST_UNCHECKED,
                0);
            break;
        case ControlKind::CommandButton:
            if (const std::string& caption = static_cast<const CommandButton&>(control).Caption();
                !caption.empty()) {
                ShowText(child, caption);
            }
            break;
        case ControlKind::Window:
            break;
    }

    // A text field takes input only while the window as a whole does: the
    // window itself stays enabled during a run, for its Stop button.
    const bool enabled =
        control.Enabled() && (control.Kind() != ControlKind::TextField || model_.window.Enabled());
    if ((::IsWindowEnabled(child) != FALSE) != enabled) {
        const bool hadFocus = ::GetFocus() == child;
        ::EnableWindow(child, enabled ? TRUE : FALSE);
        if (hadFocus && !enabled) {
            // A disabled control cannot keep the focus: it is lent to the next
            // control that takes it (the run's Stop) and given back later.
            if (child != focusLentTo_) {
                focusToRestore_ = child;
            }
            focusLentTo_ = ::GetNextDlgTabItem(window_, child, FALSE);
            if (focusLentTo_ != nullptr) {
                ::SetFocus(focusLentTo_);
            }
        }
        if (enabled && child == focusToRestore_ && ::GetActiveWindow() == window_) {
            const HWND focus = ::GetFocus();
            if (focus == nullptr || focus == window_ || focus == focusLentTo_ ||
                ::IsWindowEnabled(focus) == FALSE) {
                ::SetFocus(child);
                focusLentTo_ = nullptr;
            }
        }
    }
}

void ControlMirror::MirrorSuggestions(Binding& binding) {
    const auto& field = static_cast<const TextField&>(*binding.control);
    if (field.Suggestions() == binding.shownSuggestions) {
        return;
    }
    ::SendMessageA(binding.child, CB_RESETCONTENT, 0, 0);
    for (const std::string& suggestion : field.Suggestions()) {
        ::SendMessageA(binding.child, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(suggestion.c_str()));
    }
    binding.shownSuggestions = field.Suggestions();
    // Emptying the list empties the field's text too: it is the model's again.
    ShowText(binding.child, field.Text());
}

// What the user typed reaches the model in the ANSI code page the program
// works in; a character it has no byte for comes as "?", which a Debug run
// reports.
void ControlMirror::OnTextFieldCommand(const Binding& binding, int code) {
    auto& field = static_cast<TextField&>(*binding.control);
    if (!binding.dropDown) {
        if (code == EN_CHANGE && !settingText_) {
            field.TakeTextFromView(WindowTextAnsi(binding.child));
        } else if (code == EN_KILLFOCUS) {
            field.Commit();
        }
        return;
    }
    switch (code) {
        case CBN_EDITCHANGE:
            if (!settingText_) {
                field.TakeTextFromView(WindowTextAnsi(binding.child));
            }
            break;
        case CBN_SELCHANGE: {
            // The field shows the picked text only after this notification.
            const LRESULT index = ::SendMessageA(binding.child, CB_GETCURSEL, 0, 0);
            const LRESULT length = ::SendMessageA(binding.child, CB_GETLBTEXTLEN, index, 0);
            if (index != CB_ERR && length != CB_ERR) {
                std::string text(static_cast<size_t>(length) + 1, '\0');
                ::SendMessageA(binding.child, CB_GETLBTEXT, index,
                               reinterpret_cast<LPARAM>(text.data()));
                text.resize(static_cast<size_t>(length));
                field.TakeTextFromView(std::move(text));
            }
            break;
        }
        case CBN_DROPDOWN:
            field.AskForSuggestions();
            break;
        case CBN_KILLFOCUS:
            field.Commit();
            break;
        default:
            break;
    }
}

void ControlMirror::MirrorWindowEnabled() {
    for (Binding& binding : bindings_) {
        if (binding.control->Kind() == ControlKind::TextField) {
            Mirror(binding);
        }
    }
}

void ControlMirror::OnCommand(int id, int code) {
    const Binding* binding = Find(id);
    if (binding == nullptr) {
        return;
    }
    Control& control = *binding->control;
    if (control.Kind() == ControlKind::TextField) {
        OnTextFieldCommand(*binding, code);
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    // A disabled control takes no input, however the click was delivered.
    if (!control.Enabled() || ::IsWindowEnabled(binding->child) == FALSE) {
        return;
    }
    switch (control.Kind()) {
        case ControlKind::CheckBox:
            static_cast<CheckBox&>(control).Click();
            break;
        case ControlKind::OptionButton:
            static_cast<OptionButton&>(control).Click();
            break;
        case ControlKind::CommandButton:
            static_cast<CommandButton&>(control).Click();
            break;
        case ControlKind::TextField:
        case ControlKind::Window:
            break;
    }
}

void ControlMirror::OnActivate(bool active) {
    if (!active) {
        RememberFocus();
        return;
    }
    if (focusToRestore_ != nullptr && ::IsWindowEnabled(focusToRestore_) != FALSE) {
        ::SetFocus(focusToRestore_);
    } else if (HWND first = ::GetNextDlgTabItem(window_, nullptr, FALSE); first != nullptr) {
        ::SetFocus(first);
    }
}

}  // namespace ktv::win32
