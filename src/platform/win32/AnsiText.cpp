#include "platform/win32/AnsiText.h"

namespace ktv::win32 {

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
    if (text.empty()) {
        return std::string();
    }
    // UTF-8 as the ANSI code page (a Windows 10 option) holds every character,
    // and takes neither the flag nor the question.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL substituted = FALSE;
    BOOL* const asked = utf8 ? nullptr : &substituted;
    const int size = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(::WideCharToMultiByte(
                         CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, asked)),
                     '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text.data(), size, ansi.data(),
                          static_cast<int>(ansi.size()), nullptr, asked);
    if (substituted || ansi.empty()) {
        return std::nullopt;
    }
    return ansi;
}

std::string AnsiFromWide(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    std::string ansi(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, text.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), static_cast<int>(ansi.size()),
                          nullptr, nullptr);
    return ansi;
}

}  // namespace ktv::win32
