#pragma once

#include <windows.h>

#include <utility>

namespace ktv::win32 {

// Owns one GDI font and deletes it once.
class UniqueFont {
public:
    UniqueFont() = default;
    explicit UniqueFont(HFONT font) : font_(font) {}
    UniqueFont(const UniqueFont&) = delete;
    UniqueFont& operator=(const UniqueFont&) = delete;
    UniqueFont(UniqueFont&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    UniqueFont& operator=(UniqueFont&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.font_, nullptr));
        }
        return *this;
    }
    ~UniqueFont() { Reset(); }

    HFONT Get() const { return font_; }

    void Reset(HFONT font = nullptr) {
        if (font_ != nullptr) {
            ::DeleteObject(font_);
        }
        font_ = font;
    }

private:
    HFONT font_ = nullptr;
};

}  // namespace ktv::win32
