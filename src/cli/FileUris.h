#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ktv {

// How the protocol's text meets the system's: the protocol speaks UTF-8,
// while paths, files and the tools use the ANSI code page. The program
// hands in the system's own conversions.
struct TextConversions {
    // Nothing when the text is not UTF-8 or holds a character the ANSI code
    // page lacks.
    std::function<std::optional<std::string>(std::string_view utf8)> ansiFromUtf8;
    std::function<std::string(std::string_view ansi)> utf8FromAnsi;
    // One text for every spelling of a path that differs only in letter
    // case, by the file system's rule.
    std::function<std::string(std::string_view ansiPath)> pathKey;
    unsigned ansiCodePage = 0;
};

// A file URI's Windows path, or why there is none (in UTF-8, for the user).
struct UriPath {
    std::string path;
    std::string error;
};

// "file:///c%3A/my%20dir/x.bas" and "file:///C:/my dir/x.bas" give
// c:\my dir\x.bas (the drive letter as written: paths compare ignoring case),
// "file://server/share/x.bas" gives \\server\share\x.bas. Nothing for a URI
// of another scheme ("untitled:"), which names no file on disk.
std::optional<UriPath> PathFromUri(std::string_view uri, const TextConversions& text);

// The URI of a Windows path: "file:///c:/my%20dir/x.bas",
// "file://server/share/x.bas"; every byte but letters, digits, "-._~" and the
// separators percent-encoded, in UTF-8.
std::string UriFromPath(std::string_view path, const TextConversions& text);

}  // namespace ktv
