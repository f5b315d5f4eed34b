#include "views/Banner.h"

#include "platform/Dpi.h"

namespace ktv::win32 {

UniqueBitmap Banner::LoadPicture(int height) const {
    const auto load = [&](int id) {
        return UniqueBitmap(
            static_cast<HBITMAP>(id == 0 ? nullptr
                                         : ::LoadImageA(instance_, MAKEINTRESOURCEA(id),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    };
    // The copy at one height is small and drawn as it is; scaling the large
    // picture took a few milliseconds of every start under Wine.
    UniqueBitmap picture = load(pictureAtOneHeightId_);
    BITMAP size{};
    if (picture && ::GetObjectA(picture.Get(), sizeof size, &size) != 0 &&
        size.bmHeight == height) {
        return picture;
    }
    return load(pictureId_);
}

void Banner::Render(HWND window, int width, int height, bool withPicture) {
    const UniqueBitmap picture = withPicture ? LoadPicture(height) : UniqueBitmap();
    WindowDc screen(window);
    rendered_.Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
    width_ = width;
    height_ = height;
    UniqueMemoryDc target(::CreateCompatibleDC(screen.Get()));
    SelectedObject targetBitmap(target.Get(), rendered_.Get());

    BITMAP source{};
    if (!picture || ::GetObjectA(picture.Get(), sizeof(source), &source) == 0 ||
        source.bmHeight <= 0) {
        const RECT all{0, 0, width, height};
        ::FillRect(target.Get(), &all, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        return;
    }
    // The picture keeps its proportions: scaled to the banner's height and
    // aligned right, where its motif is. Its left edge is one plain colour,
    // which stretches to fill whatever width is left.
    UniqueMemoryDc sourceDc(::CreateCompatibleDC(screen.Get()));
    SelectedObject sourceBitmap(sourceDc.Get(), picture.Get());
    // Halftone only when the picture is scaled: the copy it then makes is
    // slow, and the left edge's one colour needs none.
    ::SetStretchBltMode(target.Get(), source.bmHeight == height ? COLORONCOLOR : HALFTONE);
    ::SetBrushOrgEx(target.Get(), 0, 0, nullptr);
    const int scaledWidth = ScaleLength(source.bmWidth, height, source.bmHeight);
    const int left = width - scaledWidth;
    if (left > 0) {
        ::StretchBlt(target.Get(), 0, 0, left, height, sourceDc.Get(), 0, 0, 1, source.bmHeight,
                     SRCCOPY);
    }
    ::StretchBlt(target.Get(), left, 0, scaledWidth, height, sourceDc.Get(), 0, 0, source.bmWidth,
                 source.bmHeight, SRCCOPY);
}

void Banner::Draw(HDC dc, int x, int y) const {
    if (!rendered_) {
        return;
    }
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    SelectedObject selected(source.Get(), rendered_.Get());
    ::BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace ktv::win32
