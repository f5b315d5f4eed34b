#pragma once

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The picture behind the main window's title. It is made once for each size
// the banner takes (the window's DPI sets it) and then drawn as it is.
class Banner {
public:
    // The picture as designed, and a copy at the one height the banner most
    // often has, which then needs no scaling (0: none).
    Banner(HINSTANCE instance, int pictureId, int pictureAtOneHeightId)
        : instance_(instance), pictureId_(pictureId), pictureAtOneHeightId_(pictureAtOneHeightId) {}

    // Makes the banner at this size for drawing into the window's device
    // contexts. Without the picture (none, or `withPicture` false, as for high
    // contrast) it is the system's highlight colour.
    void Render(HWND window, int width, int height, bool withPicture);

    void Draw(HDC dc, int x, int y) const;

private:
    UniqueBitmap LoadPicture(int height) const;

    HINSTANCE instance_;
    int pictureId_;
    int pictureAtOneHeightId_;
    UniqueBitmap rendered_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace ktv::win32
