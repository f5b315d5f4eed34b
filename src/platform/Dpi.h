#pragma once

namespace ktv {

// The program's lengths are designed at 96 dots per inch, the DPI of a screen
// at 100 % scale, and scaled to the DPI of the screen a window shows on.
inline constexpr int kDesignDpi = 96;

// `value` * `to` / `from`, rounded to the nearest whole number, halves away
// from zero.
constexpr int ScaleLength(int value, int to, int from) {
    const long long scaled = static_cast<long long>(value) * to;
    const long long half = from / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / from : -((-scaled + half) / from));
}

// A length designed at 96 DPI, in pixels at `dpi`.
constexpr int ScaleForDpi(int length, int dpi) {
    return ScaleLength(length, dpi, kDesignDpi);
}

// A font size in points (1/72 inch), in pixels at `dpi`.
constexpr int PointsToPixels(int points, int dpi) {
    return ScaleLength(points, dpi, 72);
}

}  // namespace ktv
