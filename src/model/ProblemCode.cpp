#include "model/ProblemCode.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "text/Lines.h"
#include "text/Paths.h"

namespace ktv {
namespace {

constexpr int kBasicAround = 2;
constexpr int kCAround = 3;

}  // namespace

std::string LinesAround(std::string_view text, int line, int around) {
    // A line number can be as large as an int holds: counted wider, the
    // lines after it do not overflow.
    const long long first = std::max(1LL, static_cast<long long>(line) - around);
    const long long last = static_cast<long long>(line) + around;
    std::vector<std::pair<long long, std::string_view>> shown;
    LineCursor cursor(text);
    for (long long number = 1; number <= last; ++number) {
        const std::optional<LineView> next = cursor.Next();
        if (!next) {
            break;
        }
        if (number >= first) {
            shown.emplace_back(number, next->text);
        }
    }
    if (shown.empty() || shown.back().first < line) {
        return {};
    }
    const std::size_t width = std::to_string(shown.back().first).size();
    std::string lines;
    for (const auto& [number, content] : shown) {
        const std::string digits = std::to_string(number);
        lines.append(number == line ? "> " : "  ")
            .append(width - digits.size(), ' ')
            .append(digits)
            .append("  ")
            .append(content)
            .append("\r\n");
    }
    return lines;
}

std::string ProblemCode::Section(const std::string& path, int line, int around) {
    const std::string heading = GetFileName(path) + ", line " + std::to_string(line) + "\r\n";
    std::optional<FileStamp> now;
    try {
        now = files_.Stamp(path);
        auto cached = read_.find(path);
        if (cached == read_.end() || cached->second.stamp != now) {
            cached = read_.insert_or_assign(path, ReadFile{now, files_.ReadFile(path)}).first;
        }
        const auto then = run_.stamps.find(path);
        const bool changed = then != run_.stamps.end() && then->second != now;
        const std::string lines = LinesAround(cached->second.text, line, around);
        return heading +
               (changed ? GetFileName(path) + " has changed since the run: its lines now.\r\n"
                        : "") +
               (lines.empty() ? GetFileName(path) + " has no line " + std::to_string(line) + ".\r\n"
                              : lines);
    } catch (const std::exception& failure) {
        return heading + GetFileName(path) + " cannot be read: " + failure.what() + "\r\n";
    }
}

std::string ProblemCode::For(const Problem& problem) {
    const std::string basicLine = DisplayedBasicLine(problem);
    std::string code;
    if (!basicLine.empty()) {
        code =
            Section(JoinPath(names_.folder, names_.fileName), std::stoi(basicLine), kBasicAround);
    }
    if (problem.kind == DiagnosticKind::BasicError || problem.cLine <= 0) {
        return code;
    }
    const std::string path = CompilerFile(problem, run_, names_);
    code += code.empty() ? "" : "\r\n";
    if (path.empty()) {
        return code + problem.file + ", line " + std::to_string(problem.cLine) +
               "\r\nThe compiler found " + problem.file + " on its own include path.\r\n";
    }
    return code + Section(path, problem.cLine, kCAround);
}

}  // namespace ktv
