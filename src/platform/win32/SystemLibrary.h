#pragma once

#include <string>
#include <utility>

#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// One of Windows' own DLLs, loaded from the system folder only (never from
// beside the program or the current folder) when it is first needed. The
// dialogs load shell32, comdlg32 and ole32 this way when they open rather than
// importing them, which keeps those DLLs off the program's start-up.
//
// Once loaded, a DLL stays for the rest of the process: the shell and COM may
// leave threads and objects behind that still run its code after a dialog has
// closed, and unloading it under them would crash the program later.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* fileName)
        : module_(::LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        HMODULE pinned = nullptr;
        if (module_ != nullptr) {
            ::GetModuleHandleExA(
                GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                reinterpret_cast<LPCSTR>(module_), &pinned);
        }
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;
    // Drops this object's reference; the pin keeps the DLL loaded.
    ~SystemLibrary() {
        if (module_ != nullptr) {
            ::FreeLibrary(module_);
        }
    }

    bool Loaded() const { return module_ != nullptr; }

    // The exported function, typed as the declaration `Function` (e.g.
    // decltype(::OleInitialize)); null when the DLL or the export is missing.
    template <typename Function>
    Function* Find(const char* name) const {
        if (module_ == nullptr) {
            return nullptr;
        }
        // FARPROC to the real type: the only way to call what GetProcAddress finds.
        return reinterpret_cast<Function*>(
            reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

}  // namespace ktv::win32
