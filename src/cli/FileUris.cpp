#include "cli/FileUris.h"

#include <algorithm>

#include "cli/CommandLineBuild.h"
#include "text/Strings.h"

namespace ktv {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = ToLowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Nothing when an escape is broken or stands for a zero byte, which no path
// holds.
std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return decoded;
}

std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
            c == '/') {
            encoded += c;
        } else {
            encoded.append({'%', kHex[byte >> 4], kHex[byte & 15]});
        }
    }
    return encoded;
}

bool IsDriveLetter(char c) {
    const char lower = ToLowerAscii(c);
    return lower >= 'a' && lower <= 'z';
}

// "/c:" or "/c:/..." (in a URI's path), "c:" or "c:\..." (in a Windows path).
bool BeginsWithDrive(std::string_view path, std::size_t at) {
    return path.size() >= at + 2 && IsDriveLetter(path[at]) && path[at + 1] == ':' &&
           (path.size() == at + 2 || path[at + 2] == '/' || path[at + 2] == '\\');
}

// The Windows path a file URI's authority and decoded path name, in UTF-8.
std::optional<std::string> WindowsPath(std::string_view authority, std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!authority.empty() && !EqualsIgnoringCase(authority, "localhost")) {
        return "\\\\" + std::string(authority) + path;
    }
    if (path.starts_with("\\\\")) {  // file:////server/share/...
        return path;
    }
    if (BeginsWithDrive(path, 1)) {
        return path.substr(1);
    }
    return std::nullopt;
}

}  // namespace

std::optional<UriPath> PathFromUri(std::string_view uri, const TextConversions& text) {
    if (!StartsWithIgnoringCase(uri, "file:")) {
        return std::nullopt;
    }
    const auto failed = [&](std::string why) {
        return UriPath{{}, "Cannot build " + std::string(uri) + ": " + why};
    };
    std::string_view rest = uri.substr(5);
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (!rest.starts_with("//")) {
        return failed("a file URI begins with file://");
    }
    rest.remove_prefix(2);
    const std::size_t slash = std::min(rest.find('/'), rest.size());
    const std::optional<std::string> authority = PercentDecoded(rest.substr(0, slash));
    const std::optional<std::string> path = PercentDecoded(rest.substr(slash));
    if (!authority || !path) {
        return failed("it holds a broken percent escape or a zero byte");
    }
    const std::optional<std::string> windowsPath = WindowsPath(*authority, *path);
    if (!windowsPath) {
        return failed("it names neither a drive (file:///c:/...) nor a server (file://server/...)");
    }
    std::optional<std::string> ansi = text.ansiFromUtf8(*windowsPath);
    if (!ansi) {
        return UriPath{{}, UnwritablePathMessage(*windowsPath, text.ansiCodePage)};
    }
    return UriPath{std::move(*ansi), {}};
}

std::string UriFromPath(std::string_view path, const TextConversions& text) {
    std::string utf8 = text.utf8FromAnsi(path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    if (utf8.starts_with("//")) {
        return "file:" + PercentEncoded(utf8);
    }
    if (BeginsWithDrive(utf8, 0)) {
        return "file:///" + utf8.substr(0, 2) + PercentEncoded(utf8.substr(2));
    }
    return "file://" + std::string(utf8.starts_with("/") ? "" : "/") + PercentEncoded(utf8);
}

}  // namespace ktv
