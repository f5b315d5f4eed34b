#include "win32/StandInEditor.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>

#include "KeyNames.h"
#include "StandinCommon.h"

namespace ktv::standins::win32 {
namespace {

constexpr char kMainClass[] = "KtvStandInEditor";
constexpr char kGoToClass[] = "KtvStandInGoToLine";
// With "<editor>.framework=1" the editor is built as programs of some desktop
// frameworks are: a zero-size application window comes first, owns the main
// window and hands any activation on to it; started minimised, only the
// application window shows, minimised, until it is restored.
constexpr char kApplicationClass[] = "KtvStandInApplication";
constexpr UINT kActivateMain = WM_APP + 1;

// Like a real editor, the go-to box comes up a moment after Ctrl+G, once the
// key has gone through the editor's own queue.
constexpr UINT_PTR kOpenGoToTimer = 1;
// With "<editor>.question_on_goto=1" the first Ctrl+G brings a question
// instead, as an editor that notices its file changed on disk asks whether to
// reload it.
constexpr UINT_PTR kAskTimer = 2;
constexpr UINT kDefaultGoToDelayMs = 300;

// What a second instance hands the first: the file to show.
constexpr ULONG_PTR kHandOverFile = 0x4B54;

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

const char* WindowState(HWND window) {
    if (::IsIconic(window))
        return "minimised";
    if (::IsZoomed(window))
        return "maximised";
    return "normal";
}

class Editor {
public:
    Editor(HINSTANCE instance, const EditorProfile& profile)
        : instance_(instance), profile_(profile), log_(profile.logName) {}
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    int Run(int showCommand) {
        const std::string commandLine = ::GetCommandLineA();
        path_ = FileArgument(commandLine);
        const Scenario scenario = Scenario::Load();
        const std::string name = StripExtension(std::string(profile_.logName));
        if (const auto delay = scenario.Get(name + ".goto_delay_ms")) {
            goToDelayMs_ = static_cast<UINT>(std::strtoul(delay->c_str(), nullptr, 10));
        }
        askFirst_ = scenario.Flag(name + ".question_on_goto");
        framework_ = scenario.Flag(name + ".framework");
        long line = 0;
        if (profile_.takesLineOption) {
            std::tie(line, path_) = LineOptionAndFile(commandLine);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        ::GetStartupInfoA(&startup);
        const int given = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
        char folder[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, folder);

        log_.Write("command-line", commandLine);
        log_.Write("folder", folder);
        log_.Write("show", given < 0 ? "default" : std::to_string(given));
        if (scenario.Flag(name + ".single_instance") && HandOverToOpenWindow()) {
            return 0;
        }

        if (!RegisterClasses() || !CreateMainWindow()) {
            log_.Write("error", "cannot create the window");
            return 1;
        }
        LoadFile();
        Show(showCommand);
        log_.Write("window", WindowState(application_ != nullptr ? application_ : main_));
        if (line > 0 && GoToLine(line)) {
            // Like Home and Shift+End: the whole line selected.
            const LRESULT start = ::SendMessageA(edit_, EM_LINEINDEX, line - 1, 0);
            const LRESULT length = ::SendMessageA(edit_, EM_LINELENGTH, start, 0);
            ::SendMessageA(edit_, EM_SETSEL, start, start + length);
            LogSelection();
        }

        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (IsKeyMessage(message.message) && HandleKey(message)) {
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
            if (message.message == WM_KEYDOWN && message.wParam == VK_END && Held(VK_SHIFT) &&
                message.hwnd == edit_) {
                LogSelection();
            }
        }
        return 0;
    }

private:
    // A single-instance editor: a window already showing the file takes it
    // over, and this start ends without a window of its own.
    bool HandOverToOpenWindow() {
        HWND open = ::FindWindowA(kMainClass, profile_.title(path_, false).c_str());
        if (open == nullptr) {
            open = ::FindWindowA(kMainClass, profile_.title(path_, true).c_str());
        }
        if (open == nullptr) {
            return false;
        }
        COPYDATASTRUCT data{kHandOverFile, static_cast<DWORD>(path_.size()),
                            const_cast<char*>(path_.data())};
        ::SendMessageA(open, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        log_.Write("handed-over", path_);
        return true;
    }

    bool RegisterClasses() {
        WNDCLASSA mainClass{};
        mainClass.lpfnWndProc = &Editor::MainProc;
        mainClass.hInstance = instance_;
        mainClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        mainClass.lpszClassName = kMainClass;
        WNDCLASSA goToClass = mainClass;
        goToClass.lpfnWndProc = &Editor::GoToProc;
        goToClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        goToClass.lpszClassName = kGoToClass;
        WNDCLASSA applicationClass = mainClass;
        applicationClass.lpfnWndProc = &Editor::ApplicationProc;
        applicationClass.lpszClassName = kApplicationClass;
        return ::RegisterClassA(&mainClass) != 0 && ::RegisterClassA(&goToClass) != 0 &&
               ::RegisterClassA(&applicationClass) != 0;
    }

    bool CreateMainWindow() {
        if (framework_) {
            application_ = ::CreateWindowExA(
                0, kApplicationClass,
                std::string(StripExtension(std::string(profile_.logName))).c_str(),
                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                instance_, this);
            if (application_ == nullptr) {
                return false;
            }
        }
        main_ = ::CreateWindowExA(0, kMainClass, profile_.title(path_, false).c_str(),
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                                  application_, nullptr, instance_, this);
        if (main_ == nullptr) {
            return false;
        }
        edit_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                      ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                                  0, 0, 0, 0, main_, nullptr, instance_, nullptr);
        return edit_ != nullptr;
    }

    void LoadFile() {
        std::ifstream in(path_, std::ios::binary);
        if (!in) {
            log_.Write("open", "cannot read " + path_);
            return;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        ::SendMessageA(edit_, EM_SETLIMITTEXT, 0, 0);
        loading_ = true;
        ::SetWindowTextA(edit_, ToEditText(bytes).c_str());
        loading_ = false;
        log_.Write("open", path_);
    }

    void Show(int showCommand) {
        const bool minimised = showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
                               showCommand == SW_SHOWMINNOACTIVE;
        if (application_ == nullptr) {
            ::ShowWindow(main_, showCommand);
        } else if (minimised) {
            ::ShowWindow(application_, showCommand);  // the main window stays hidden
        } else {
            ::ShowWindow(application_, SW_SHOWNORMAL);
            ::ShowWindow(main_, showCommand);
        }
        ::UpdateWindow(main_);
    }

    bool Minimised() const {
        return ::IsIconic(main_) || (application_ != nullptr && ::IsIconic(application_));
    }

    // Logs the key and acts on the keys the editor itself handles. True when
    // the message has been dealt with and must not be dispatched.
    bool HandleKey(MSG& message) {
        // A minimised editor has no focus: its keys come as system keys and
        // do nothing, as in a real one. They are logged apart, as keys that
        // were typed before the editor was restored.
        if (Minimised()) {
            if (message.message == WM_SYSKEYDOWN || message.message == WM_KEYDOWN) {
                if (const std::optional<std::string> name = KeyDownName(message.wParam)) {
                    log_.Write("lost-key", *name);
                }
            }
            return true;
        }
        const bool alt = (message.lParam & (1 << 29)) != 0;
        if (!alt) {
            if (message.message == WM_SYSKEYDOWN)
                message.message = WM_KEYDOWN;
            if (message.message == WM_SYSKEYUP)
                message.message = WM_KEYUP;
            if (message.message == WM_SYSCHAR)
                message.message = WM_CHAR;
        }
        const HWND focus = ::GetFocus();
        if (focus != nullptr && (focus == edit_ || focus == goToEdit_)) {
            message.hwnd = focus;
        }

        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
            return OnKeyDown(message);
        }
        if (message.message == WM_CHAR) {
            return OnChar(message);
        }
        return false;
    }

    bool OnKeyDown(const MSG& message) {
        const WPARAM key = message.wParam;
        const std::optional<std::string> name = KeyDownName(key);
        if (!name) {
            return false;  // a modifier, or a character key logged as what it types
        }
        LogKey(message, *name);

        if (Held(VK_CONTROL) && !Held(VK_MENU) && key == 'G') {
            ::SetTimer(main_, askFirst_ ? kAskTimer : kOpenGoToTimer, goToDelayMs_, nullptr);
            askFirst_ = false;
            return true;
        }
        if (goTo_ != nullptr && message.hwnd == goToEdit_) {
            if (key == VK_RETURN) {
                ConfirmGoTo();
                return true;
            }
            if (key == VK_ESCAPE) {
                CloseGoTo();
                return true;
            }
        }
        return false;
    }

    bool OnChar(const MSG& message) {
        const std::optional<std::string> name = CharKeyName(message.wParam);
        if (!name) {
            return false;
        }
        LogKey(message, *name);
        // The go-to box takes the line number: digits and spaces.
        const auto c = static_cast<char>(message.wParam);
        if (goTo_ != nullptr && message.hwnd == goToEdit_ && c != ' ' && (c < '0' || c > '9')) {
            ::MessageBeep(MB_OK);
            return true;
        }
        return false;
    }

    // Keys that reach the document and keys that reach the go-to box are
    // logged apart: a line number typed into the document is the fault the
    // tests look for.
    void LogKey(const MSG& message, const std::string& name) {
        const bool toBox = goTo_ != nullptr && message.hwnd == goToEdit_;
        log_.Write(toBox ? "box-key" : "key", name);
    }

    void OpenGoTo() {
        if (goTo_ != nullptr) {
            ::SetFocus(goToEdit_);
            return;
        }
        RECT frame{};
        ::GetWindowRect(main_, &frame);
        goTo_ = ::CreateWindowExA(WS_EX_DLGMODALFRAME, kGoToClass, "Go To Line",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, frame.left + 40,
                                  frame.top + 60, 260, 110, main_, nullptr, instance_, this);
        if (goTo_ == nullptr) {
            return;
        }
        ::CreateWindowExA(0, "STATIC", "Line number:", WS_CHILD | WS_VISIBLE, 12, 12, 220, 18,
                          goTo_, nullptr, instance_, nullptr);
        goToEdit_ =
            ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                              12, 34, 220, 24, goTo_, nullptr, instance_, nullptr);
        ::ShowWindow(goTo_, SW_SHOW);
        ::SetFocus(goToEdit_);
    }

    void ConfirmGoTo() {
        const std::string typed = WindowText(goToEdit_);
        CloseGoTo();
        long line = 0;
        bool digits = false;
        for (char c : typed) {
            if (c >= '0' && c <= '9') {
                line = std::min(line * 10 + (c - '0'), 1'000'000'000L);
                digits = true;
            }
        }
        if (!digits || !GoToLine(line)) {
            log_.Write("go-to", "\"" + typed + "\" is no line of the file");
        }
    }

    // Puts the caret at the start of the line; false for no line of the file.
    bool GoToLine(long line) {
        const auto count = static_cast<long>(::SendMessageA(edit_, EM_GETLINECOUNT, 0, 0));
        if (line < 1 || line > count) {
            return false;
        }
        const LRESULT start = ::SendMessageA(edit_, EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0);
        ::SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(start), start);
        ::SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
        log_.Write("go-to", std::to_string(line));
        return true;
    }

    void CloseGoTo() {
        if (goTo_ == nullptr) {
            return;
        }
        const HWND box = goTo_;
        goTo_ = nullptr;
        goToEdit_ = nullptr;
        ::DestroyWindow(box);
        // The keys that follow belong to the text: keep the editor in front
        // rather than let the system pick a window once the box has gone.
        ::SetForegroundWindow(main_);
        ::SetActiveWindow(main_);
        ::SetFocus(edit_);
    }

    void LogSelection() {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        const std::string text = WindowText(edit_);
        const std::size_t from = std::min<std::size_t>(start, text.size());
        const std::size_t to = std::min<std::size_t>(end, text.size());
        log_.Write("selected", text.substr(from, to > from ? to - from : 0));
    }

    LRESULT OnMain(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_SIZE:
                if (edit_ != nullptr) {
                    ::MoveWindow(edit_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
                }
                if (wParam == SIZE_RESTORED && wasMinimised_) {
                    log_.Write("window", "restored");
                }
                wasMinimised_ = wParam == SIZE_MINIMIZED;
                return 0;
            case WM_SETFOCUS:
                ::SetFocus(goTo_ != nullptr ? goToEdit_ : edit_);
                return 0;

            case WM_COMMAND:
                if (reinterpret_cast<HWND>(lParam) == edit_ && HIWORD(wParam) == EN_CHANGE &&
                    !loading_ && !modified_) {
                    modified_ = true;
                    ::SetWindowTextA(main_, profile_.title(path_, true).c_str());
                }
                return 0;
            case WM_TIMER:
                if (wParam == kAskTimer) {
                    ::KillTimer(main_, kAskTimer);
                    const int answer =
                        ::MessageBoxA(main_, "The file has changed on disk. Reload it?", "Reload",
                                      MB_YESNO | MB_ICONQUESTION);
                    log_.Write("question", answer == IDYES ? "yes" : "no");
                }
                if (wParam == kOpenGoToTimer) {
                    ::KillTimer(main_, kOpenGoToTimer);
                    OpenGoTo();
                }
                return 0;
            case WM_COPYDATA: {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                if (data->dwData == kHandOverFile) {
                    log_.Write("received",
                               std::string(static_cast<const char*>(data->lpData), data->cbData));
                }
                return TRUE;
            }
            case WM_DESTROY:
                log_.Write("closed", path_);
                ::PostQuitMessage(0);
                return 0;
            default:
                break;
        }
        return ::DefWindowProcA(main_, message, wParam, lParam);
    }

    LRESULT OnGoTo(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE) {
            CloseGoTo();
            return 0;
        }
        return ::DefWindowProcA(box, message, wParam, lParam);
    }

    static Editor* From(HWND window, UINT message, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* editor =
                static_cast<Editor*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
            return editor;
        }
        return reinterpret_cast<Editor*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    }

    static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Editor* editor = From(window, message, lParam);
        if (editor == nullptr || editor->main_ != window) {
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        return editor->OnMain(message, wParam, lParam);
    }

    // The application window: restored, it shows the main window again;
    // activated, it hands the activation on to the main window.
    LRESULT OnApplication(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_SIZE:
                if (wParam == SIZE_RESTORED && !::IsWindowVisible(main_)) {
                    log_.Write("window", "restored");
                    ::ShowWindow(main_, SW_SHOWNORMAL);
                    ::PostMessageA(application_, kActivateMain, 0, 0);
                }
                break;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE && ::IsWindowVisible(main_)) {
                    ::PostMessageA(application_, kActivateMain, 0, 0);
                }
                break;
            case kActivateMain:
                ::SetForegroundWindow(main_);
                ::SetActiveWindow(main_);
                return 0;
            default:
                break;
        }
        return ::DefWindowProcA(application_, message, wParam, lParam);
    }

    static LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        Editor* editor = From(window, message, lParam);
        if (editor == nullptr || editor->application_ != window) {
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        return editor->OnApplication(message, wParam, lParam);
    }

    static LRESULT CALLBACK GoToProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Editor* editor = From(window, message, lParam);
        if (editor == nullptr) {
            return ::DefWindowProcA(window, message, wParam, lParam);
        }
        return editor->OnGoTo(window, message, wParam, lParam);
    }

    HINSTANCE instance_;
    const EditorProfile& profile_;
    EditorLog log_;
    std::string path_;
    HWND application_ = nullptr;  // a framework's, or none
    HWND main_ = nullptr;
    HWND edit_ = nullptr;
    HWND goTo_ = nullptr;
    HWND goToEdit_ = nullptr;
    bool askFirst_ = false;
    bool framework_ = false;
    bool wasMinimised_ = false;
    bool loading_ = false;
    bool modified_ = false;
    UINT goToDelayMs_ = kDefaultGoToDelayMs;
};

}  // namespace

int RunStandInEditor(HINSTANCE instance, int showCommand, const EditorProfile& profile) {
    Editor editor(instance, profile);
    return editor.Run(showCommand);
}

}  // namespace ktv::standins::win32
