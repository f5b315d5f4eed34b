#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <oleacc.h>

#include "WindowDriver.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32::testing {

using driver::HasEnded;
using driver::ProcessesNamed;
using driver::WaitUntil;

using Names = std::vector<std::string>;

// A new empty folder under the system's temporary folder, deleted with
// everything in it at the end of the test.
class TestFolder {
public:
    TestFolder() { std::filesystem::create_directories(path_); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            ::SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string& Path() const { return path_; }
    std::string In(const std::string& name) const { return path_ + "\\" + name; }
    // The names in the folder, sorted.
    Names List() const {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_ = (std::filesystem::temp_directory_path() /
                         ("ktv-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                          std::to_string(::GetTickCount64())))
                            .string();
};

// The build's standins/ folder, and a stand-in program in it, quoted for a
// command line.
inline std::string StandInFolder() {
    std::string path(KTV_STANDINS);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path[0] == '\\' ? "Z:" + path : path;
}
inline std::string StandIn(const std::string& exeName) {
    return "\"" + StandInFolder() + "\\" + exeName + "\"";
}

// Ends a process a test started, if it still runs.
inline void EndProcess(DWORD processId) {
    if (const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
}

// What an accessibility client reads of a window. Under Wine one in another
// process gets E_NOINTERFACE, so this one is in the test's process.
struct Accessible {
    explicit Accessible(HWND window) {
        ::CoInitialize(nullptr);
        IAccessible* object = nullptr;
        if (SUCCEEDED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object)))) {
            VARIANT self{};
            self.vt = VT_I4;  // CHILDID_SELF
            VARIANT number{};
            role = SUCCEEDED(object->get_accRole(self, &number)) ? number.lVal : 0;
            state = SUCCEEDED(object->get_accState(self, &number)) ? number.lVal : 0;
            for (auto [getter, text] : {std::pair{&IAccessible::get_accName, &name},
                                        std::pair{&IAccessible::get_accValue, &value}}) {
                BSTR answer = nullptr;
                (object->*getter)(self, &answer);
                *text = answer != nullptr ? std::wstring(answer, ::SysStringLen(answer)) : L"";
                ::SysFreeString(answer);
            }
            object->Release();
        }
        ::CoUninitialize();
    }
    LONG role = 0;
    LONG state = 0;
    std::wstring name;
    std::wstring value;
};

}  // namespace ktv::win32::testing
