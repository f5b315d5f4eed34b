#include <windows.h>

// Placeholder entry point: the main window replaces it.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::MessageBoxA(nullptr, "The main window is not built yet.", "KTV Debugger 3.001",
                  MB_OK | MB_ICONINFORMATION);
    return 0;
}
