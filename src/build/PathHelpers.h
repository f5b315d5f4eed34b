#pragma once

#include <string>
#include <string_view>

namespace ktv {

class SystemInfo;

// Windows paths as text: "\" separates the parts, "/" is an ordinary
// character, and nothing here looks at the file system.

// Removes one final "\" and nothing else.
std::string StripTrailingSlash(std::string_view path);

// The text between the last "\" and the last ".". Throws InvalidArgument when
// the last "." does not come after the last "\" (no extension, a dot only in a
// folder name, empty text).
std::string GetBaseName(std::string_view path);

// Everything after the last "\" (the whole text when there is none).
std::string GetFileName(std::string_view path);

// Everything before the last "\"; empty text when there is none.
std::string GetFolder(std::string_view path);

// The Windows system directory, or empty text when it cannot be had.
std::string GetSystemPath(SystemInfo& system);

// Joins a folder and a name with "\" between them, exactly as typed: no
// separator is removed or added elsewhere.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace ktv
