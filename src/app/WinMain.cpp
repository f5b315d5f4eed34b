#include "platform/win32/WinApi.h"
#include <commctrl.h>

#include <exception>

#include "model/MainWindowModel.h"
#include "model/MainWindowController.h"
#include "platform/win32/Win32Platform.h"
#include "views/MainWindow.h"
#include "views/Version.h"
#include "views/resource.h"

namespace {

// Runs the program: the platform, the window's model, the window and the
// behaviour that ties them together, then the message loop. OnUnload ends
// the process from inside the loop, so this returns only on WM_QUIT.
int RunProgram(HINSTANCE instance, int showCommand) {
    ktv::win32::Win32Platform platform;
    ktv::Platform world = platform.Get();
    ktv::MainWindowModel model;
    ktv::win32::MainWindow window(instance, model, {IDI_APP, IDB_MAIN_BANNER, IDB_MAIN_BANNER_72PX},
                                  [&platform] { return platform.desktop.IsBusy(); });
    window.Create();
    // A run's waits handle the window's messages as the loop below does, so
    // Tab, Esc (which stops a run) and Enter work during a run too.
    platform.desktop.SetMessageFilter(
        [&window](MSG& message) { return window.PreTranslateMessage(message); });
    ktv::MainWindowController controller(model, world, window);
    try {
        // Settings and the rules between the controls are in place before
        // the window is first seen.
        controller.OnLoad();
    } catch (const std::exception& failure) {
        const std::string text = std::string("Error: ") + failure.what();
        ::MessageBoxA(window.Hwnd(), text.c_str(), "Error!", MB_OK | MB_ICONEXCLAMATION);
    }
    window.Show(showCommand);

    MSG message{};
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!window.PreTranslateMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // OLE, which the folder picker's new dialog style needs, is started by
    // the picker itself: starting it here would load ole32 on every start.

    int exitCode = 1;
    try {
        exitCode = RunProgram(instance, showCommand);
    } catch (const std::exception& failure) {
        ::MessageBoxA(nullptr, failure.what(), KTV_PRODUCT_NAME " " KTV_VERSION_TEXT,
                      MB_OK | MB_ICONERROR);
    }
    return exitCode;
}
