#include "platform/TextLines.h"

#include "platform/FileSystem.h"

namespace ktv {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> ReadLines(FileSystem& files, const std::string& path) {
    return SplitLines(files.ReadFile(path));
}

void WriteLines(FileSystem& files, const std::string& path, const std::vector<std::string>& lines) {
    files.WriteFile(path, JoinLines(lines));
}

}  // namespace ktv
