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
#include <fstream>
#include <string>
#include <thread>

#include "WindowDriver.h"
#include "model/ControlIds.h"
#include "platform/win32/Handles.h"

using namespace ktv::driver;

namespace {

// The screen inside the rectangle, with a margin for shadows, as a 24-bit BMP.
void SaveScreenshot(RECT area, const std::string& bmpPath) {
    area = RECT{area.left - 8, area.top - 8, area.right + 8, area.bottom + 8};
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    using namespace ktv::win32;
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) {
        throw DriverError("no bitmap for the screenshot");
    }
    SelectedObject selected(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
    ::GdiFlush();
    const DWORD imageSize =
        ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    std::ofstream out(bmpPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
}

RECT RectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

int Run(const std::string& program, const std::string& workingFolder, const std::string& out) {
    AppSession app(program, workingFolder);
    std::this_thread::sleep_for(Milliseconds(1500));  // let the window paint
    SaveScreenshot(RectOf(app.MainWindow()), out + "\\main-window.bmp");

    app.Click(ktv::ids::kDebugButton);
    const auto box = app.WaitForBox();
    if (!box) {
        std::printf("No message box appeared after Debug.\n");
        app.Close();
        return 1;
    }
    std::this_thread::sleep_for(Milliseconds(800));
    const RECT a = RectOf(app.MainWindow());
    const RECT b = RectOf(box->window);
    SaveScreenshot(RECT{std::min(a.left, b.left), std::min(a.top, b.top),
                        std::max(a.right, b.right), std::max(a.bottom, b.bottom)},
                   out + "\\message-box.bmp");
    const std::string report = "Title: " + box->title + "\r\nText:\r\n" + box->text + "\r\n";
    std::ofstream(out + "\\message-box.txt", std::ios::binary) << report;
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
