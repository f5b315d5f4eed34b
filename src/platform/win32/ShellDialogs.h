#pragma once

#include <optional>
#include <string>

#include "platform/Desktop.h"
#include "platform/win32/WinApi.h"

namespace ktv::win32 {

// The shell's folder picker, limited to file-system folders. nullopt when the
// user cancels or picks something without a path.
std::optional<std::string> PickFolder(HWND owner, const std::string& title);

// The common file-open dialog for one existing file. nullopt on cancel.
std::optional<std::string> PickFileToOpen(const FileOpenRequest& request);

}  // namespace ktv::win32
