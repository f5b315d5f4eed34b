#include "views/ControlMirror.h"

#include <string>

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

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int length = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace

ControlMirror::ControlMirror(HWND window, MainWindowModel& model) : window_(window), model_(model) {
    for (Control* control : model_.Controls()) {
        bindings_.push_back({control, ::GetDlgItem(window_, control->Id())});
    }
    for (size_t index = 0; index < bindings_.size(); ++index) {
        bindings_[index].control->SetViewObserver([this, index] { Mirror(bindings_[index]); });
        Mirror(bindings_[index]);
    }
    model_.window.SetViewObserver([this] { MirrorWindowEnabled(); });
    MirrorWindowEnabled();
}

ControlMirror::~ControlMirror() {
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

bool ControlMirror::IsTextField(HWND child) const {
    const Binding* binding = Find(::GetDlgCtrlID(child));
    return binding != nullptr && binding->control->Kind() == ControlKind::TextField;
}

void ControlMirror::Mirror(const Binding& binding) {
    const Control& control = *binding.control;
    const HWND child = binding.child;
    switch (control.Kind()) {
        case ControlKind::TextField: {
            const auto& field = static_cast<const TextField&>(control);
            if (WindowText(child) != field.Text()) {
                // The edit control reports the change as EN_CHANGE; the model
                // already holds this text, so that echo is not taken back.
                settingText_ = true;
                ::SetWindowTextA(child, field.Text().c_str());
                settingText_ = false;
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
        case ControlKind::Window:
            break;
    }

    const bool enabled = control.Enabled();
    if ((::IsWindowEnabled(child) != FALSE) != enabled) {
        if (!enabled && ::GetFocus() == child) {
            // A disabled control cannot keep the focus; give it back later.
            focusToRestore_ = child;
        }
        ::EnableWindow(child, enabled ? TRUE : FALSE);
        if (enabled && child == focusToRestore_ && ::GetActiveWindow() == window_) {
            const HWND focus = ::GetFocus();
            if (focus == nullptr || focus == window_ || ::IsWindowEnabled(focus) == FALSE) {
                ::SetFocus(child);
            }
        }
    }
}

void ControlMirror::MirrorWindowEnabled() {
    const bool enabled = model_.window.Enabled();
    if (!enabled) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) {
            focusToRestore_ = focus;
        }
    }
    ::EnableWindow(window_, enabled ? TRUE : FALSE);
    if (enabled && focusToRestore_ != nullptr && ::IsWindowEnabled(focusToRestore_) != FALSE &&
        ::GetActiveWindow() == window_) {
        ::SetFocus(focusToRestore_);
    }
}

void ControlMirror::OnCommand(int id, int code) {
    const Binding* binding = Find(id);
    if (binding == nullptr) {
        return;
    }
    Control& control = *binding->control;
    if (control.Kind() == ControlKind::TextField) {
        if (code == EN_CHANGE && !settingText_) {
            static_cast<TextField&>(control).TakeTextFromView(WindowText(binding->child));
        }
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
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) {
            focusToRestore_ = focus;
        }
        return;
    }
    if (focusToRestore_ != nullptr && ::IsWindowEnabled(focusToRestore_) != FALSE) {
        ::SetFocus(focusToRestore_);
    } else if (HWND first = ::GetNextDlgTabItem(window_, nullptr, FALSE); first != nullptr) {
        ::SetFocus(first);
    }
}

}  // namespace ktv::win32
