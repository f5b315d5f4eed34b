#include "platform/win32/ShellDialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/OleSession.h"

namespace ktv::win32 {
namespace {

struct CoTaskMemFreer {
    void operator()(ITEMIDLIST* items) const { ::CoTaskMemFree(items); }
};
// An item list the shell allocated for the caller.
using UniqueItemList = std::unique_ptr<ITEMIDLIST, CoTaskMemFreer>;

// The dialog's file buffer: room for a long path, far beyond MAX_PATH.
constexpr std::size_t kFileNameBuffer = 4096;

// "text\0pattern\0text\0pattern\0\0", the shape lpstrFilter wants.
std::string FilterText(const FileOpenRequest& request) {
    std::string text;
    for (const auto& [description, pattern] : request.filters) {
        text += description;
        text += '\0';
        text += pattern;
        text += '\0';
    }
    text += '\0';
    return text;
}

}  // namespace

std::optional<std::string> PickFolder(HWND owner, const std::string& title) {
    // The resizable picker with its "Make New Folder" button needs OLE on
    // this thread; it is started here for the dialog's lifetime, so callers
    // need not set it up. Without OLE the classic picker still works.
    const OleSession ole;
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | (ole.Ready() ? BIF_NEWDIALOGSTYLE : 0);
    const UniqueItemList items(::SHBrowseForFolderA(&info));
    if (!items) {
        return std::nullopt;
    }
    char path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(items.get(), path) || path[0] == '\0') {
        return std::nullopt;
    }
    return std::string(path);
}

std::optional<std::string> PickFileToOpen(const FileOpenRequest& request) {
    const std::string filter = FilterText(request);
    std::vector<char> fileName(kFileNameBuffer, '\0');
    request.initialName.copy(fileName.data(),
                             std::min(request.initialName.size(), fileName.size() - 1));

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrInitialDir =
        request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!::GetOpenFileNameA(&dialog) || fileName[0] == '\0') {
        return std::nullopt;
    }
    return std::string(fileName.data());
}

}  // namespace ktv::win32
