// Drives one Debug run of KTVDebugger.exe for the ./run demo on a display
// without a user: shows the window, presses Debug, and keeps screenshots of
// the window and of the message box the run ends with.
//
//   ktv_demo <KTVDebugger.exe> <working folder> <output folder>
//
// Writes main-window.bmp, message-box.bmp and message-box.txt (the box's
// title and text) into the output folder; exits with 0 when a box appeared.

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>

#include "E2eDriver.h"
#include "main/ControlIds.h"

using namespace ktv::e2e;

namespace {

// The union of two windows' rectangles, with a margin for their shadows.
RECT Around(HWND first, HWND second) {
    const RECT a = WindowRectangle(first);
    const RECT b = WindowRectangle(second);
    const int margin = 8;
    return RECT{std::min(a.left, b.left) - margin, std::min(a.top, b.top) - margin,
                std::max(a.right, b.right) + margin, std::max(a.bottom, b.bottom) + margin};
}

RECT WithMargin(RECT rect) {
    const int margin = 8;
    return RECT{rect.left - margin, rect.top - margin, rect.right + margin, rect.bottom + margin};
}

int Run(const std::string& program, const std::string& workingFolder, const std::string& out) {
    AppSession app(program, workingFolder);
    // Let the window paint before it is photographed.
    std::this_thread::sleep_for(Milliseconds(1500));
    SaveScreenshot(WithMargin(WindowRectangle(app.MainWindow())), out + "\\main-window.bmp");

    app.Click(ktv::ids::kCommand1Debug);
    const auto box = app.WaitForMessageBox();
    if (!box) {
        std::printf("No message box appeared after Debug.\n");
        app.Close();
        return 1;
    }
    std::this_thread::sleep_for(Milliseconds(800));
    SaveScreenshot(Around(app.MainWindow(), box->window), out + "\\message-box.bmp");
    const std::string report = "Title: " + box->title + "\r\nIcon: " + IconName(box->icon) +
                               "\r\nText:\r\n" + box->text + "\r\n";
    HANDLE file = ::CreateFileA((out + "\\message-box.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    std::printf("%s", report.c_str());
    app.PressOk(*box);
    app.WaitUntilIdle();
    app.Close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: ktv_demo <KTVDebugger.exe> <working folder> <output folder>\n");
        return 2;
    }
    try {
        return Run(ToWindowsPath(argv[1]), ToWindowsPath(argv[2]), ToWindowsPath(argv[3]));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "ktv_demo: %s\n", failure.what());
        return 1;
    }
}
