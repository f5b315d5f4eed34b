#include "text/Paths.h"

#include "text/Errors.h"

namespace ktv {

std::string StripTrailingSlash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return std::string(path);
}

std::string GetBaseName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const std::size_t dot = path.rfind('.');
    // Positions counted from 1, with 0 for "not found", as the name's rule reads.
    const long long s = slash == std::string_view::npos ? 0 : static_cast<long long>(slash) + 1;
    const long long d = dot == std::string_view::npos ? 0 : static_cast<long long>(dot) + 1;
    const long long n = d - s - 1;
    if (n < 0) {
        throw InvalidArgument("No base name in \"" + std::string(path) + "\"");
    }
    return std::string(path.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(n)));
}

std::string GetFileName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string GetFolder(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, slash));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out += folder;
    out += '\\';
    out += name;
    return out;
}

std::string AbsolutePath(std::string_view folder, std::string_view path) {
    const bool absolute = (path.size() > 1 && path[1] == ':') || path.starts_with("\\");
    return absolute ? std::string(path) : JoinPath(folder, path);
}

std::string QuoteIfSpaced(std::string_view path) {
    const bool quoted = path.size() >= 2 && path.front() == '"' && path.back() == '"';
    if (quoted || path.find(' ') == std::string_view::npos) {
        return std::string(path);
    }
    return "\"" + std::string(path) + "\"";
}

}  // namespace ktv
