#pragma once

#include <string>

namespace ktv {

class FileSystem;

// The value that removes a key's lines instead of setting them.
inline constexpr const char* kDeleteMarker = "*delete*";

// Sets every line of the key (case-insensitive; an empty key means "default")
// in a file of key=value lines to key=value, or removes them for "*delete*",
// then collapses runs of empty lines and writes the file back. Adds no key.
// Throws FileError for a file that is missing, empty or cannot be written.
void ModifyConfigFile(FileSystem& files, const std::string& configFile, const std::string& setting,
                      const std::string& value);

}  // namespace ktv
