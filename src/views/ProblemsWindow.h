#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/ProblemsWindowModel.h"
#include "platform/win32/Handles.h"
#include "views/OutputView.h"
#include "views/Window.h"

namespace ktv::win32 {

// The window that lists every problem of a Debug run: a virtual report list
// (rows are asked for only as they show, so thousands open at once). Enter or
// a double-click sends the editor to the row's Basic line; Ctrl+A selects
// every row and Ctrl+C copies the selected ones. Under the list, a read-only
// pane shows the code beside the focused row's problem (ProblemCode): the
// capture window's view, with its keyboard, selection, copy and accessible
// text. Tab goes between the two.
class ProblemsWindow : public Window {
public:
    // The controls' IDs, by which tests find them.
    static constexpr int kListId = 1701;
    static constexpr int kCodeId = 1702;

    // Creates the window beside `owner` and shows it without activating it,
    // so that keys still being typed reach the editor.
    ProblemsWindow(HINSTANCE instance, HWND owner, std::unique_ptr<ProblemsWindowModel> list);
    ~ProblemsWindow() override;

    // Lets the dialog manager take Tab, Enter (which opens the focused row)
    // and Esc (which closes the window). True when the message was used up.
    bool PreTranslateMessage(MSG& message);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void OnDestroyed() override { listView_ = nullptr; }
    LRESULT OnNotify(const NMHDR& header);
    void ApplyFont();
    void SetColumnWidths();
    // The list above, the pane's label and the pane below, over the client area.
    void LayOut(int width, int height);
    void ShowCode(int row);
    std::vector<std::size_t> SelectedRows() const;
    void CopySelection();
    void OpenRow(std::size_t row);

    std::unique_ptr<ProblemsWindowModel> list_;
    HWND listView_ = nullptr;
    HWND codeLabel_ = nullptr;
    std::unique_ptr<OutputView> code_;
    int shownCodeRow_ = -1;
    UniqueFont font_;      // the list's; it outlives the list (see the destructor)
    UniqueFont codeFont_;  // the pane's, likewise
    std::string cell_;     // the text last handed to the list view, which must outlive the call
};

}  // namespace ktv::win32
