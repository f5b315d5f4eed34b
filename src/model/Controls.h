#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ktv {

// State of a check box. Only Checked counts as on.
enum class CheckState : int {
    Unchecked = 0,
    Checked = 1,
    Grayed = 2,
};

enum class ControlKind {
    TextField,
    CheckBox,
    OptionButton,
    CommandButton,
    Window,
};

// The portable model of one control: a value, an enabled flag and a hook by
// which the Win32 window mirrors every change the program makes. The window
// never decides anything; it forwards the user's input to the model.
class Control {
public:
    Control(ControlKind kind, int id) : kind_(kind), id_(id) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    ControlKind Kind() const { return kind_; }
    int Id() const { return id_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Called after each change of value or enabled flag that the program
    // makes. One observer: the window that shows the control.
    void SetViewObserver(std::function<void()> observer) { observer_ = std::move(observer); }

protected:
    void NotifyView() const;

private:
    ControlKind kind_;
    int id_;
    bool enabled_ = true;
    std::function<void()> observer_;
};

class TextField : public Control {
public:
    TextField(int id, std::string text)
        : Control(ControlKind::TextField, id), text_(std::move(text)) {}

    const std::string& Text() const { return text_; }

    // The program writes the field; the window shows the new text.
    void SetText(std::string text);

    // The user typed into the window's control: the model follows, nothing is
    // echoed back.
    void TakeTextFromView(std::string text) { text_ = std::move(text); }

    // The user has finished with the field (it lost the keyboard focus): the
    // commit handler may check what was entered.
    void Commit() const {
        if (commitHandler_) {
            commitHandler_();
        }
    }
    void SetCommitHandler(std::function<void()> handler) { commitHandler_ = std::move(handler); }

    // Texts offered to pick from, for a field shown as an editable drop-down:
    // the handler fills them in when the user opens the list, so that nothing
    // is looked for before anyone asks.
    const std::vector<std::string>& Suggestions() const { return suggestions_; }
    void SetSuggestions(std::vector<std::string> suggestions);
    void AskForSuggestions() const {
        if (suggestionsHandler_) {
            suggestionsHandler_();
        }
    }
    void SetSuggestionsHandler(std::function<void()> handler) {
        suggestionsHandler_ = std::move(handler);
    }

private:
    std::string text_;
    std::vector<std::string> suggestions_;
    std::function<void()> commitHandler_;
    std::function<void()> suggestionsHandler_;
};

// A check box with the states 0, 1 and 2. A change of state, whether made by
// the program or by a click, runs the handler synchronously, as a click does.
class CheckBox : public Control {
public:
    explicit CheckBox(int id) : Control(ControlKind::CheckBox, id) {}

    CheckState State() const { return state_; }
    bool IsOn() const { return state_ == CheckState::Checked; }

    void SetState(CheckState state);

    // The user clicked: a box that is on goes off, any other goes on.
    void Click() { SetState(IsOn() ? CheckState::Unchecked : CheckState::Checked); }

    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

private:
    CheckState state_ = CheckState::Unchecked;
    std::function<void()> handler_;
};

// One option button of a group. Selecting it deselects the rest of its group
// and runs its handler, whether the program or a click selected it.
class OptionButton : public Control {
public:
    explicit OptionButton(int id) : Control(ControlKind::OptionButton, id) {}

    bool Selected() const { return selected_; }

    // True selects this button (and runs the handler); false deselects it,
    // which may leave the group with no selection.
    void SetSelected(bool selected);

    void Click() { SetSelected(true); }

    void SetGroup(std::vector<OptionButton*> group) { group_ = std::move(group); }
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

private:
    void Deselect();

    bool selected_ = false;
    std::vector<OptionButton*> group_;
    std::function<void()> handler_;
};

class CommandButton : public Control {
public:
    // An empty caption leaves the window's own.
    explicit CommandButton(int id, std::string caption = {})
        : Control(ControlKind::CommandButton, id), caption_(std::move(caption)) {}

    void Click() const {
        if (handler_)
            handler_();
    }
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) {
        caption_ = std::move(caption);
        NotifyView();
    }

private:
    std::function<void()> handler_;
    std::string caption_;
};

// The window as a whole: only its enabled flag is modelled.
class WindowState : public Control {
public:
    WindowState() : Control(ControlKind::Window, 0) {}
};

}  // namespace ktv
