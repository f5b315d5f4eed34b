#include "EditorProfile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ktv::standins {

std::string JfeTitle(std::string_view path, bool modified) {
    return "Jens' File Editor - [" + std::string(path) + (modified ? " *]" : "]");
}

std::string ConTextTitle(std::string_view path, bool) {
    return "ConTEXT - [" + std::string(path) + "]";
}

std::string NotepadTitle(std::string_view path, bool) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name) + " - Notepad";
}

std::string FileArgument(std::string_view commandLine) {
    std::size_t position = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        position = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        position = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    std::string_view rest = commandLine.substr(position);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) {
        rest.remove_suffix(1);
    }
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        rest = rest.substr(1, rest.size() - 2);
    }
    return std::string(rest);
}

std::pair<long, std::string> LineOptionAndFile(std::string_view commandLine) {
    const std::string rest = FileArgument(commandLine);
    if (!rest.starts_with("-n")) {
        return {0, rest};
    }
    const std::size_t space = rest.find(' ');
    const long line = std::strtol(rest.substr(2, space - 2).c_str(), nullptr, 10);
    // What follows the option, as if it followed the program's name.
    return {line, space == std::string::npos ? std::string() : FileArgument(rest.substr(space))};
}

std::string LineEditorTitle(std::string_view path, bool) {
    const std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1)) +
           " - Line Editor";
}

std::string ToEditText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            text += c;
        }
    }
    return text;
}

void EditorLog::Write(std::string_view field, std::string_view value) const {
    std::FILE* file = std::fopen("editors.log", "ab");
    if (file == nullptr) {
        return;  // a stand-in without a log still edits
    }
    const std::string line = name_ + " " + std::string(field) + ": " + std::string(value) + "\r\n";
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}

}  // namespace ktv::standins
