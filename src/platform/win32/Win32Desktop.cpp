#include "platform/win32/Win32Desktop.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/KeyInput.h"
#include "platform/win32/Monitors.h"
#include "platform/win32/ShellDialogs.h"
#include "platform/win32/WinApi.h"
#include "text/Errors.h"
#include "text/KeyText.h"
#include "text/Strings.h"

namespace ktv::win32 {
namespace {

// The visible top-level windows of a process, in z-order.
std::vector<HWND> ProcessWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s.processId && ::IsWindowVisible(window)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasArea(HWND window) {
    RECT rect{};
    return ::GetWindowRect(window, &rect) && rect.right > rect.left && rect.bottom > rect.top;
}

// The window of the process to activate: a main window (unowned, with an
// area) before an owned one, and those before a window without an area, such
// as the zero-size application window that programs of some frameworks put
// first and that hands any activation on to their main window. Null when
// the process shows none.
HWND FindProcessWindow(DWORD processId) {
    const std::vector<HWND> windows = ProcessWindows(processId);
    const auto rank = [](HWND window) {
        const bool owned = ::GetWindow(window, GW_OWNER) != nullptr;
        return (HasArea(window) || ::IsIconic(window) ? 0 : 2) + (owned ? 1 : 0);
    };
    const auto best = std::min_element(windows.begin(), windows.end(),
                                       [&](HWND a, HWND b) { return rank(a) < rank(b); });
    return best != windows.end() ? *best : nullptr;
}

// A window the keys are for must be in view: a minimised one gets its keys as
// system keys, and only the user who finds it on the task bar sees the line.
// Restores every minimised window of its process, the application window of
// a framework program among them (which then shows its main window again).
void RestoreMinimised(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    for (const HWND each : ProcessWindows(processId)) {
        if (::IsIconic(each)) {
            ::ShowWindow(each, SW_RESTORE);
        }
    }
}

// Makes the window the foreground window with the keyboard focus. Whether
// it came is looked at by the caller, on the window in front afterwards (its
// program may hand the activation on to another of its windows).
void BringToFront(HWND window) {
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == window) {
        return;
    }
    const DWORD foregroundThread =
        foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const ThreadInputAttachment attachment(::GetCurrentThreadId(), foregroundThread);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
}

HWND ToHandle(WindowRef window) {
    return reinterpret_cast<HWND>(window);
}

TaskWindow Describe(HWND window) {
    DWORD process = 0;
    if (window != nullptr) {
        ::GetWindowThreadProcessId(window, &process);
    }
    return TaskWindow{reinterpret_cast<WindowRef>(window), process};
}

// Whether a control takes typed text, by its window class: edit fields (the
// system's "Edit" and rich edits, and frameworks' own, such as Delphi's
// "TEdit" or a "...TextBox") and editable drop-downs. A read-only field, a
// drop-down list, a button or a plain window does not.
bool TakesTypedText(HWND control) {
    char name[128] = {};
    ::GetClassNameA(control, name, sizeof name);
    std::string lower(name);
    for (char& c : lower) {
        c = ToLowerAscii(c);
    }
    const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
    if (lower.find("combo") != std::string::npos) {
        return (style & 3) != CBS_DROPDOWNLIST && (style & 3) != 0;
    }
    const bool field =
        lower.find("edit") != std::string::npos || lower.find("textbox") != std::string::npos;
    return field && (style & ES_READONLY) == 0;
}

// Whether the keyboard focus of the window's thread is in a field of the
// window that takes typed text, as in a go-to box (not in a question's
// buttons).
bool FocusInField(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (window == nullptr ||
        !::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread) ||
        thread.hwndFocus == nullptr) {
        return false;
    }
    return (thread.hwndFocus == window || ::IsChild(window, thread.hwndFocus)) &&
           TakesTypedText(thread.hwndFocus);
}

}  // namespace

TaskWindow Win32Desktop::ActivateByTitle(const std::string& title) {
    const HWND window = title.empty() ? nullptr : ::FindWindowA(nullptr, title.c_str());
    if (window == nullptr) {
        throw WindowNotFound("No window has the title \"" + title + "\"");
    }
    RestoreMinimised(window);
    BringToFront(window);
    return Describe(window);
}

void Win32Desktop::ActivateWindow(WindowRef window) {
    const HWND handle = reinterpret_cast<HWND>(window);
    if (handle == nullptr || !::IsWindow(handle)) {
        throw WindowNotFound("The window no longer exists");
    }
    BringToFront(handle);
}

TaskWindow Win32Desktop::ActivateByTask(TaskId task) {
    const HWND window = FindProcessWindow(task);
    if (window == nullptr) {
        throw WindowNotFound("Task " + std::to_string(task) + " has no window");
    }
    RestoreMinimised(window);
    BringToFront(window);
    return Describe(window);
}

TaskWindow Win32Desktop::Foreground() {
    const HWND window = ::GetForegroundWindow();
    TaskWindow front = Describe(window);
    front.focusInField = FocusInField(window);
    return front;
}

void Win32Desktop::Pause(std::chrono::milliseconds duration) {
    const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(duration.count());
    for (ULONGLONG now = ::GetTickCount64(); now < until; now = ::GetTickCount64()) {
        // Wakes for a message of this thread, so its windows keep painting.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now),
                                    QS_ALLINPUT);
        DoEvents();
    }
}

void Win32Desktop::SendKeys(const std::string& keyText) {
    // The whole text is parsed before the first key goes out, so a bad text
    // types nothing at all.
    std::vector<INPUT> inputs;
    for (const KeyStroke& stroke : ParseKeyText(keyText)) {
        const std::vector<INPUT> keys = KeyStrokeInputs(stroke);
        inputs.insert(inputs.end(), keys.begin(), keys.end());
    }
    if (inputs.empty()) {
        return;
    }
    // One call, so no key of the user's can come between ours. Keys the
    // system refuses (a window of higher integrity in front) are lost, as
    // they would be for a typist: there is nothing the caller could do.
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Win32Desktop::DoEvents() {
    MSG message{};
    for (int handled = 0;
         handled < kMaxMessagesPerPass && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
         ++handled) {
        if (message.message == WM_QUIT) {
            // The quit request belongs to the thread's own message loop; put
            // it back for that loop to see.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (filter_ && filter_(message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void Win32Desktop::SetBusyCursor(bool busy) {
    busy_ = busy;
    ::SetCursor(::LoadCursorA(nullptr, busy ? BusyCursor() : IDC_ARROW));
}

int Win32Desktop::MessageBox(WindowRef owner, const std::string& prompt, int buttons,
                             const std::string& title) {
    const char* caption = title.empty() ? kProgramTitle : title.c_str();
    return ::MessageBoxA(ToHandle(owner), prompt.c_str(), caption,
                         static_cast<UINT>(buttons) | MB_SETFOREGROUND);
}

ScreenArea Win32Desktop::WorkArea(WindowRef window) {
    return WorkAreaOf(ToHandle(window));
}

std::optional<std::string> Win32Desktop::BrowseForFolder(WindowRef owner,
                                                         const std::string& title) {
    return PickFolder(ToHandle(owner), title);
}

std::optional<std::string> Win32Desktop::OpenFileDialog(const FileOpenRequest& request) {
    return PickFileToOpen(request);
}

}  // namespace ktv::win32
