// The baseline of the Debug-run benchmark: a bare one-window GUI program whose
// one button starts the command lines of a file in order, hidden, waits for
// each, then shows a message box, as the Debug run ends with its success box.
// The benchmark presses the button and times it exactly as it does KTV
// Debugger's Debug: from the posted click to the box on screen.
//
//   bare_runner <command-lines file> <working folder>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct Runner {
    std::vector<std::string> commandLines;
    std::string folder;
};

void RunHiddenAndWait(std::string commandLine, const char* folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                         &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, INFINITE);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
}

constexpr int kRunButtonId = 1;

LRESULT CALLBACK RunnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kRunButtonId && HIWORD(wParam) == BN_CLICKED) {
        const auto* runner =
            reinterpret_cast<const Runner*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        for (const std::string& commandLine : runner->commandLines) {
            RunHiddenAndWait(commandLine, runner->folder.c_str());
        }
        ::MessageBoxA(window, "The bare loop has run its tools.", "Success!",
                      MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc != 3) {
        return 2;
    }
    Runner runner;
    runner.folder = __argv[2];
    std::ifstream list(__argv[1]);
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            runner.commandLines.push_back(line);
        }
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &RunnerProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BareRunner";
    ::RegisterClassA(&windowClass);
    HWND window =
        ::CreateWindowExA(0, "BareRunner", "Bare Runner", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&runner));
    ::CreateWindowExA(0, "BUTTON", "Run", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 90, 28,
                      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRunButtonId)), instance,
                      nullptr);
    ::ShowWindow(window, SW_SHOW);
    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
