#include "views/Clipboard.h"

#include <cstring>

#include "platform/win32/Handles.h"

namespace ktv::win32 {

bool CopyTextToClipboard(HWND owner, std::string_view text) {
    // The copy is made before the clipboard is emptied, so that a lack of
    // memory leaves the user's last copy in place.
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    char* bytes = memory ? static_cast<char*>(::GlobalLock(memory.Get())) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    ::GlobalUnlock(memory.Get());
    const OpenedClipboard clipboard(owner);
    if (!clipboard) {
        return false;
    }
    ::EmptyClipboard();
    if (::SetClipboardData(CF_TEXT, memory.Get()) == nullptr) {
        return false;
    }
    memory.Release();  // the clipboard owns it now
    return true;
}

}  // namespace ktv::win32
