#include "platform/win32/AnsiText.h"

namespace ktv::win32 {
namespace {

// UTF-8 as the ANSI code page (a Windows 10 option) holds every character,
// and takes neither the no-best-fit flag nor a replacement character.
bool AnsiIsUtf8() {
    return ::GetACP() == CP_UTF8;
}

// The text in the ANSI code page, with '?' for what it lacks; `substituted`
// says whether any character was.
std::string ToAnsi(std::wstring_view text, BOOL* substituted) {
    if (text.empty()) {
        return {};
    }
    const bool utf8 = AnsiIsUtf8();
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* const replacement = utf8 ? nullptr : "?";
    BOOL* const asked = utf8 ? nullptr : substituted;
    const int size = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(::WideCharToMultiByte(
                         CP_ACP, flags, text.data(), size, nullptr, 0, replacement, asked)),
                     '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, ansi.data(),
                          static_cast<int>(ansi.size()), replacement, asked);
    return ansi;
}

}  // namespace

CodePage WindowsCodePage(UINT number) {
    std::array<bool, 256> lead{};
    for (std::size_t byte = 0; byte < lead.size(); ++byte) {
        lead[byte] = ::IsDBCSLeadByteEx(number, static_cast<BYTE>(byte)) != FALSE;
    }
    return CodePage(lead);
}

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::optional<std::string> ExactAnsi(std::wstring_view text) {
    BOOL substituted = FALSE;
    std::string ansi = ToAnsi(text, &substituted);
    if (substituted || (ansi.empty() && !text.empty())) {
        return std::nullopt;
    }
    return ansi;
}

std::string AnsiFromWide(std::wstring_view text) {
    return ToAnsi(text, nullptr);
}

std::wstring WindowTextWide(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

std::string WindowTextAnsi(HWND window) {
    return AnsiFromWide(WindowTextWide(window));
}

}  // namespace ktv::win32
