#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/ProblemsWindowModel.h"
#include "platform/win32/Handles.h"
#include "views/Window.h"

namespace ktv::win32 {

// The window that lists every problem of a Debug run: a virtual report list
// (rows are asked for only as they show, so thousands open at once). Enter or
// a double-click sends the editor to the row's Basic line; Ctrl+A selects
// every row and Ctrl+C copies the selected ones.
class ProblemsWindow : public Window {
public:
    // The list's control ID, by which tests find it.
    static constexpr int kListId = 1701;

    // Creates the window beside `owner` and shows it without activating it,
    // so that keys still being typed reach the editor.
    ProblemsWindow(HINSTANCE instance, HWND owner, std::unique_ptr<ProblemsWindowModel> list);
    ~ProblemsWindow() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void OnDestroyed() override { listView_ = nullptr; }
    LRESULT OnNotify(const NMHDR& header);
    void ApplyFont();
    void SetColumnWidths();
    std::vector<std::size_t> SelectedRows() const;
    void CopySelection();
    void OpenRow(std::size_t row);

    std::unique_ptr<ProblemsWindowModel> list_;
    HWND listView_ = nullptr;
    UniqueFont font_;   // the list's; it outlives the list (see the destructor)
    std::string cell_;  // the text last handed to the list view, which must outlive the call
};

}  // namespace ktv::win32
