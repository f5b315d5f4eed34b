#pragma once

// TEMPORARY: a minimal platform so that the window can be seen and driven
// before the platform layer is merged. Removed when the real Win32Platform
// arrives; nothing else includes this file.

#include <windows.h>

#include <string>

#include "platform/Errors.h"
#include "platform/Platform.h"
#include "platform/win32/Win32SystemInfo.h"

namespace ktv::win32 {

class InterimProcesses : public Processes {
public:
    void RunHidden(const std::string&) override { throw StartFailed("not available yet"); }
    TaskId Start(const std::string&, WindowStyle) override {
        throw StartFailed("not available yet");
    }
    bool WaitUntilReady(TaskId, std::chrono::milliseconds) override { return false; }
};

class InterimDesktop : public Desktop {
public:
    void ActivateByTitle(const std::string&) override { throw WindowNotFound("not available yet"); }
    void ActivateByTask(TaskId) override { throw WindowNotFound("not available yet"); }
    void SendKeys(const std::string&) override {}
    void DoEvents() override {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    void SetBusyCursor(bool busy) override { busy_ = busy; }
    bool IsBusy() const { return busy_; }
    int MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                   const std::string& title) override {
        return ::MessageBoxA(reinterpret_cast<HWND>(owner), prompt.c_str(),
                             title.empty() ? kProgramTitle : title.c_str(),
                             static_cast<UINT>(buttons));
    }
    ScreenSize GetScreenSize() override {
        return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    std::optional<std::string> BrowseForFolder(WindowRef, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const FileOpenRequest&) override {
        return std::nullopt;
    }

private:
    bool busy_ = false;
};

class InterimFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    bool FolderExists(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::string ReadFile(const std::string&) override { throw FileError("not available yet"); }
    void WriteFile(const std::string&, const std::string&) override {
        throw FileError("not available yet");
    }
    void DeleteFile(const std::string&) override {}
    void DeleteFolder(const std::string&) override {}
    std::optional<FileTime> LastWriteTime(const std::string&) override { return std::nullopt; }
    FileTime Now() override { return 0; }
    std::string CurrentDirectory() override { return {}; }
    void ChangeDirectory(const std::string&) override {}
    std::string ExecutableFolder() override { return {}; }
};

class InterimRegistry : public Registry {
public:
    void SetDwordValue(RegistryRoot, const std::string&, const std::string&,
                       std::uint32_t) override {}
};

struct Win32Platform {
    InterimProcesses processes;
    InterimDesktop desktop;
    InterimFileSystem files;
    InterimRegistry registry;
    Win32SystemInfo system;

    Platform Get() { return Platform{processes, desktop, files, registry, system}; }
};

}  // namespace ktv::win32
