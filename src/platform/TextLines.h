#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ktv {

class FileSystem;

// Splits single-byte text into lines. A line ends at CR LF or at a lone CR; a
// lone LF is an ordinary character. A last line without an end is a line; a
// final line end adds no empty line after it. Empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Joins lines with CR LF after every line, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

// Reads a whole text file into lines. Throws FileError.
std::vector<std::string> ReadLines(FileSystem& files, const std::string& path);

// Writes the lines, each followed by CR LF, replacing the file atomically.
// Throws FileError.
void WriteLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines);

}  // namespace ktv
