#include "main/win32/AboutBox.h"

namespace ktv::win32 {

// SEAM: the About box is not built yet.
void ShowAboutBox(HINSTANCE, HWND) {}

}  // namespace ktv::win32
