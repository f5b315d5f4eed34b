#pragma once

// The small RAII owners of the Win32 layer. Most resources are a handle and
// the one function that releases it, so they share one template, Owned; the
// few that hold more (a window's device context, a selection into a device
// context, a thread's input attachment, a temporary file, the open clipboard,
// a system DLL) have classes of their own. Each releases what it owns exactly
// once.

#include <string>
#include <utility>

#include "platform/win32/SystemMessage.h"
#include "platform/win32/WinApi.h"
#include "text/Errors.h"

namespace ktv::win32 {

template <typename T>
bool IsNonNull(T resource) {
    return resource != nullptr;
}

// Win32 functions return either null or INVALID_HANDLE_VALUE for "no handle".
inline bool IsValidHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// Owns one resource and hands it to Free once, when it is replaced or goes;
// IsSet tells a resource from "none". Moves, never copies.
template <typename T, auto Free, auto IsSet = &IsNonNull<T>>
class Owned {
public:
    Owned() = default;
    explicit Owned(T resource) : resource_(resource) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : resource_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    ~Owned() { Reset(); }

    T Get() const { return resource_; }
    explicit operator bool() const { return IsSet(resource_); }

    void Reset(T resource = T{}) {
        if (IsSet(resource_)) {
            Free(resource_);
        }
        resource_ = resource;
    }
    // Hands the resource on (to the clipboard, say); this owner then holds none.
    T Release() { return std::exchange(resource_, T{}); }
    // For a function that returns the resource through a pointer.
    T* Receive() {
        Reset();
        return &resource_;
    }

private:
    T resource_{};
};

namespace release {
inline void CloseKernelHandle(HANDLE handle) {
    ::CloseHandle(handle);
}
// A directory search needs FindClose, not CloseHandle.
inline void EndSearch(HANDLE search) {
    ::FindClose(search);
}
inline void CloseRegistryKey(HKEY key) {
    ::RegCloseKey(key);
}
template <typename Handle>
void DeleteGdiObject(Handle object) {
    ::DeleteObject(object);
}
inline void DeleteMemoryDc(HDC dc) {
    ::DeleteDC(dc);
}
inline void DestroyPopupMenu(HMENU menu) {
    ::DestroyMenu(menu);
}
inline void FreeGlobalMemory(HGLOBAL memory) {
    ::GlobalFree(memory);
}
}  // namespace release

using UniqueHandle = Owned<HANDLE, &release::CloseKernelHandle, &IsValidHandle>;
using UniqueSearch = Owned<HANDLE, &release::EndSearch, &IsValidHandle>;
using UniqueRegistryKey = Owned<HKEY, &release::CloseRegistryKey>;
using UniqueFont = Owned<HFONT, &release::DeleteGdiObject<HFONT>>;
using UniqueBitmap = Owned<HBITMAP, &release::DeleteGdiObject<HBITMAP>>;
using UniqueBrush = Owned<HBRUSH, &release::DeleteGdiObject<HBRUSH>>;
using UniqueMemoryDc = Owned<HDC, &release::DeleteMemoryDc>;  // CreateCompatibleDC's
using UniqueMenu = Owned<HMENU, &release::DestroyPopupMenu>;
using UniqueGlobalMemory = Owned<HGLOBAL, &release::FreeGlobalMemory>;  // the clipboard's kind

// A window's device context, released to its window when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

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
    explicit SystemLibrary(const char* fileName) : module_(LoadFromSystemFolder(fileName)) {
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
    // Windows 7 knows LOAD_LIBRARY_SEARCH_SYSTEM32 only with an update
    // (KB2533623) and refuses it as an invalid parameter without; the
    // system folder's full path does the same there.
    static HMODULE LoadFromSystemFolder(const char* fileName) {
        if (HMODULE module = ::LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            return module;
        }
        char folder[MAX_PATH] = {};
        const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return nullptr;
        }
        const std::string path = std::string(folder, length) + "\\" + fileName;
        return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }

    HMODULE module_;
};

// Joins the input state of this thread to another thread's for as long as it
// lives (AttachThreadInput). Windows lets a thread that shares the input state
// of the foreground window's thread move the foreground elsewhere, which a
// background program otherwise may not do. Nothing happens for the same
// thread or no thread, or when the system refuses.
class ThreadInputAttachment {
public:
    ThreadInputAttachment(DWORD self, DWORD other)
        : self_(self),
          other_(other),
          attached_(self != other && other != 0 && ::AttachThreadInput(self, other, TRUE)) {}
    ThreadInputAttachment(const ThreadInputAttachment&) = delete;
    ThreadInputAttachment& operator=(const ThreadInputAttachment&) = delete;
    ~ThreadInputAttachment() {
        if (attached_) {
            ::AttachThreadInput(self_, other_, FALSE);
        }
    }

private:
    DWORD self_;
    DWORD other_;
    bool attached_;
};

// A new, uniquely named, empty file in a given folder that is deleted again
// when this object goes away, unless Keep() was called (for example because it
// has been renamed onto its target). Throws FileError when it cannot be made.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder) {
        // GetTempFileNameA creates the file, so the name is ours even if
        // another writer picks names in the same folder at the same moment.
        char buffer[MAX_PATH] = {};
        if (::GetTempFileNameA(folder.c_str(), "ktv", 0, buffer) == 0) {
            throw FileError(DescribeLastError("Cannot create a temporary file in", folder));
        }
        path_ = buffer;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!keep_) {
            ::DeleteFileA(path_.c_str());
        }
    }

    const std::string& Path() const { return path_; }
    void Keep() { keep_ = true; }

private:
    std::string path_;
    bool keep_ = false;
};

// Keeps the clipboard open for a window while it lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    ~OpenedClipboard() {
        if (open_) {
            ::CloseClipboard();
        }
    }

    explicit operator bool() const { return open_; }

private:
    bool open_;
};

}  // namespace ktv::win32
