#include "cli/LspDiagnostics.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "text/Paths.h"

namespace ktv {
namespace {

constexpr int kError = 1;
constexpr int kWarning = 2;

// A problem's line, 0-based; line 0 when it has none.
int ZeroBasedLine(const std::string& digits) {
    if (digits.empty()) {
        return 0;
    }
    if (digits.size() > 9) {
        return INT_MAX - 1;
    }
    return std::max(std::stoi(digits) - 1, 0);
}

Json WholeLine(int line, const Problem& problem, std::string message) {
    return {{"range",
             {{"start", {{"line", line}, {"character", 0}}},
              {"end", {{"line", line + 1}, {"character", 0}}}}},
            {"severity", problem.kind == DiagnosticKind::CWarning ? kWarning : kError},
            {"source", "ktv"},
            {"message", message.empty() ? std::string(KindWord(problem.kind)) : message}};
}

bool HasFolder(std::string_view file) {
    return file.find_first_of("\\/:") != std::string_view::npos;
}

// A file the compiler named relative to the Basic file's folder, as one
// full path: "c:\work\..\inc\a.h" is c:\inc\a.h, which is how editors
// name it.
std::string FullPathOf(std::string file, const std::string& folder) {
    std::replace(file.begin(), file.end(), '/', '\\');
    const std::string path = AbsolutePath(folder, file);
    const std::size_t rootParts = path.starts_with("\\\\") ? 4 : 1;  // "c:" or "\\server\share"
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t end = 0; end != std::string::npos; begin = end + 1) {
        end = path.find('\\', begin);
        const std::string part = path.substr(begin, end - begin);
        if (part == ".." && parts.size() > rootParts) {
            parts.pop_back();
        } else if (part != "." && part != "..") {
            parts.push_back(part);
        }
    }
    std::string full = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        full += "\\" + parts[i];
    }
    return full;
}

}  // namespace

std::map<std::string, Json> DiagnosticsByFile(const RunProblems& run, const std::string& basicUri,
                                              const TextConversions& text) {
    std::map<std::string, Json> byFile;
    const std::string cUri = UriFromPath(run.cFile, text);
    for (const Problem& problem : run.problems) {
        const ProblemPlace place = PlaceOf(problem, run);
        std::string message = text.utf8FromAnsi(DisplayedMessage(problem));
        std::string uri;
        int line = ZeroBasedLine(place.line);
        if (place.file == run.basicFile) {
            uri = basicUri;
        } else if (place.file == run.cFile) {
            uri = cUri;
        } else if (HasFolder(place.file)) {
            uri = UriFromPath(FullPathOf(place.file, GetFolder(run.basicFile)), text);
        } else {
            message = text.utf8FromAnsi(place.file + ":" + place.line + ": ") + message;
            uri = cUri;
            line = 0;
        }
        byFile[uri].push_back(WholeLine(line, problem, std::move(message)));
    }
    return byFile;
}

std::vector<Json> PublishedDiagnostics::Replace(const std::string& basicKey,
                                                std::map<std::string, Json> byFile) {
    std::vector<Json> published;
    std::set<std::string>& files = filesOf_[basicKey];
    for (auto& [uri, diagnostics] : byFile) {
        published.push_back({{"uri", uri}, {"diagnostics", std::move(diagnostics)}});
    }
    for (const std::string& uri : files) {
        if (!byFile.contains(uri)) {
            published.push_back({{"uri", uri}, {"diagnostics", Json::array()}});
        }
    }
    files.clear();
    for (const auto& [uri, diagnostics] : byFile) {
        files.insert(uri);
    }
    return published;
}

}  // namespace ktv
