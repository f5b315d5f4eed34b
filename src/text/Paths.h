#pragma once

#include <string>
#include <string_view>

namespace ktv {

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

// Joins a folder and a name with "\" between them, exactly as typed: no
// separator is removed or added elsewhere.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path as it stands when it begins with a drive ("c:") or "\\", else
// joined to `folder`, which relative paths count from.
std::string AbsolutePath(std::string_view folder, std::string_view path);

// Puts a path that holds a space in double quotes, so that a started program
// sees it as one argument; any other path, and one already in quotes, is
// returned exactly as written.
std::string QuoteIfSpaced(std::string_view path);

}  // namespace ktv
