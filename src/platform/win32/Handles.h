#pragma once

// The small RAII owners of the Win32 layer: kernel handles, directory
// searches, registry keys, system DLLs, GDI objects and device contexts,
// thread input attachments, temporary files, menus, the clipboard and the
// memory it takes. Each releases what it owns exactly once.

#include <string>
#include <utility>

#include "platform/win32/SystemMessage.h"
#include "platform/win32/WinApi.h"
#include "text/Errors.h"

namespace ktv::win32 {

// Owns one kernel handle and closes it once. Both INVALID_HANDLE_VALUE and
// null mean "no handle", since Win32 functions use either.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    void Reset(HANDLE handle = nullptr) {
        if (*this) {
            ::CloseHandle(handle_);
        }
        handle_ = handle;
    }
    HANDLE Release() { return std::exchange(handle_, nullptr); }

private:
    HANDLE handle_ = nullptr;
};

// Owns one directory search of FindFirstFileA and ends it with FindClose
// (which, unlike CloseHandle, is what such a handle needs).
class UniqueFindHandle {
public:
    explicit UniqueFindHandle(HANDLE handle) : handle_(handle) {}
    UniqueFindHandle(const UniqueFindHandle&) = delete;
    UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
    ~UniqueFindHandle() {
        if (*this) {
            ::FindClose(handle_);
        }
    }

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Owns one open registry key and closes it once with RegCloseKey.
class UniqueRegistryKey {
public:
    UniqueRegistryKey() = default;
    UniqueRegistryKey(const UniqueRegistryKey&) = delete;
    UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;
    ~UniqueRegistryKey() {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
        }
    }

    HKEY Get() const { return key_; }
    // For the out-parameter of RegCreateKeyExA; the key must be empty.
    HKEY* Receive() { return &key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
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

// Owns a block of movable global memory, the kind the clipboard takes, and
// frees it once unless Release() has handed it on.
class UniqueGlobalMemory {
public:
    explicit UniqueGlobalMemory(SIZE_T size) : memory_(::GlobalAlloc(GMEM_MOVEABLE, size)) {}
    UniqueGlobalMemory(const UniqueGlobalMemory&) = delete;
    UniqueGlobalMemory& operator=(const UniqueGlobalMemory&) = delete;
    ~UniqueGlobalMemory() {
        if (memory_ != nullptr) {
            ::GlobalFree(memory_);
        }
    }

    HGLOBAL Get() const { return memory_; }
    explicit operator bool() const { return memory_ != nullptr; }
    HGLOBAL Release() { return std::exchange(memory_, nullptr); }

private:
    HGLOBAL memory_;
};

// Owns a popup menu and destroys it once.
class UniqueMenu {
public:
    explicit UniqueMenu(HMENU menu) : menu_(menu) {}
    UniqueMenu(const UniqueMenu&) = delete;
    UniqueMenu& operator=(const UniqueMenu&) = delete;
    ~UniqueMenu() {
        if (menu_ != nullptr) {
            ::DestroyMenu(menu_);
        }
    }

    HMENU Get() const { return menu_; }

private:
    HMENU menu_;
};

// Owns one GDI object (font, bitmap, brush) and deletes it once.
template <typename Handle>
class UniqueGdiObject {
public:
    UniqueGdiObject() = default;
    explicit UniqueGdiObject(Handle handle) : handle_(handle) {}
    UniqueGdiObject(const UniqueGdiObject&) = delete;
    UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
    UniqueGdiObject(UniqueGdiObject&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    ~UniqueGdiObject() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            ::DeleteObject(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;

// A window's device context, released when it goes out of scope.
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

// A memory device context compatible with another one.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    HDC Get() const { return dc_; }

private:
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

}  // namespace ktv::win32
