#include "model/Controls.h"

namespace ktv {

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    NotifyView();
}

void Control::NotifyView() const {
    if (observer_) {
        observer_();
    }
}

void TextField::SetText(std::string text) {
    text_ = std::move(text);
    NotifyView();
}

void TextField::SetSuggestions(std::vector<std::string> suggestions) {
    suggestions_ = std::move(suggestions);
    NotifyView();
}

void CheckBox::SetState(CheckState state) {
    if (state_ == state) {
        return;
    }
    state_ = state;
    NotifyView();
    if (handler_) {
        handler_();
    }
}

void OptionButton::SetSelected(bool selected) {
    if (!selected) {
        Deselect();
        return;
    }
    for (OptionButton* other : group_) {
        if (other != this) {
            other->Deselect();
        }
    }
    if (!selected_) {
        selected_ = true;
        NotifyView();
    }
    // An option button runs its handler each time it is set, even when it was
    // already selected; the handlers' rules give the same result either way.
    if (handler_) {
        handler_();
    }
}

void OptionButton::Deselect() {
    if (selected_) {
        selected_ = false;
        NotifyView();
    }
}

}  // namespace ktv
