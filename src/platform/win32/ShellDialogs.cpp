#include "platform/win32/ShellDialogs.h"

#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Handles.h"

namespace ktv::win32 {
namespace {

// OLE on this thread for as long as it lives: OleInitialize, and
// OleUninitialize when it succeeded (also when OLE was already on, since the
// calls are counted). Ready() is false on a thread that runs COM in the
// multi-threaded mode, where OLE cannot be had, and when ole32 cannot be
// loaded. `ole32` must outlive the session.
class OleSession {
public:
    explicit OleSession(const SystemLibrary& ole32)
        : uninitialize_(ole32.Find<decltype(::OleUninitialize)>("OleUninitialize")) {
        const auto initialize = ole32.Find<decltype(::OleInitialize)>("OleInitialize");
        ready_ =
            initialize != nullptr && uninitialize_ != nullptr && SUCCEEDED(initialize(nullptr));
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (ready_) {
            uninitialize_();
        }
    }

    bool Ready() const { return ready_; }

private:
    decltype(::OleUninitialize)* uninitialize_;
    bool ready_ = false;
};

// An item list the shell allocated for the caller, freed with ole32's
// CoTaskMemFree (which the caller's copy of ole32 must outlive).
class UniqueItemList {
public:
    UniqueItemList(ITEMIDLIST* items, decltype(::CoTaskMemFree)* free)
        : items_(items), free_(free) {}
    UniqueItemList(const UniqueItemList&) = delete;
    UniqueItemList& operator=(const UniqueItemList&) = delete;
    ~UniqueItemList() {
        if (items_ != nullptr && free_ != nullptr) {
            free_(items_);
        }
    }
    ITEMIDLIST* Get() const { return items_; }

private:
    ITEMIDLIST* items_;
    decltype(::CoTaskMemFree)* free_;
};

// The dialog's file buffer: room for a long path, far beyond MAX_PATH.
constexpr std::size_t kFileNameBuffer = 4096;

// "text\0pattern\0text\0pattern\0\0", the shape lpstrFilter wants.
std::wstring FilterText(const FileOpenRequest& request) {
    std::wstring text;
    for (const auto& [description, pattern] : request.filters) {
        text += WideFromAnsi(description);
        text += L'\0';
        text += WideFromAnsi(pattern);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

}  // namespace

std::optional<std::string> PickFolder(HWND owner, const std::string& title) {
    // The resizable picker with its "Make New Folder" button needs OLE on
    // this thread; it is started here for the dialog's lifetime, so callers
    // need not set it up. Without OLE the classic picker still works.
    const SystemLibrary ole32("ole32.dll");
    const SystemLibrary shell32("shell32.dll");
    const auto browse = shell32.Find<decltype(::SHBrowseForFolderA)>("SHBrowseForFolderA");
    const auto pathOf = shell32.Find<decltype(::SHGetPathFromIDListA)>("SHGetPathFromIDListA");
    if (browse == nullptr || pathOf == nullptr) {
        return std::nullopt;
    }
    const OleSession ole(ole32);
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | (ole.Ready() ? BIF_NEWDIALOGSTYLE : 0);
    const UniqueItemList items(browse(&info),
                               ole32.Find<decltype(::CoTaskMemFree)>("CoTaskMemFree"));
    if (items.Get() == nullptr) {
        return std::nullopt;
    }
    char path[MAX_PATH] = {};
    if (!pathOf(items.Get(), path) || path[0] == '\0') {
        return std::nullopt;
    }
    return std::string(path);
}

// The dialog is the wide one, so that a chosen path the ANSI code page cannot
// write comes back with "?" for what it cannot (which a Debug run reports),
// not with look-alike letters that name another file.
std::optional<std::string> PickFileToOpen(const FileOpenRequest& request) {
    const std::wstring filter = FilterText(request);
    const std::wstring initialName = WideFromAnsi(request.initialName);
    const std::wstring initialFolder = WideFromAnsi(request.initialFolder);
    const std::wstring title = WideFromAnsi(request.title);
    std::vector<wchar_t> fileName(kFileNameBuffer, L'\0');
    initialName.copy(fileName.data(), std::min(initialName.size(), fileName.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // A typed name is handed back unexamined, as a chosen one is: Debug reports
    // a Basic file that does not exist, and a library list may name one yet to
    // be built.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    const SystemLibrary comdlg32("comdlg32.dll");
    const auto open = comdlg32.Find<decltype(::GetOpenFileNameW)>("GetOpenFileNameW");
    if (open == nullptr || !open(&dialog) || fileName[0] == L'\0') {
        return std::nullopt;
    }
    return AnsiFromWide(fileName.data());
}

}  // namespace ktv::win32
