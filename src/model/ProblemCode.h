#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "debug/Problems.h"
#include "platform/FileSystem.h"

namespace ktv {

// The lines of a text around one of them: each numbered, the line itself
// marked with ">", `around` lines before and after it where the text has
// them; CR LF after each. Empty when the text has no such line.
std::string LinesAround(std::string_view text, int line, int around);

// The code beside a problem, as the Problems window shows it under the list:
// the Basic lines around the one the problem leads back to (two each side),
// then the C lines around the reported one (three each side), or the lines
// of the other file the compiler named. Each file comes under its name and
// line; one that cannot be read, or has changed since the run, says so.
// Files are read when a problem of theirs is first shown, and once only
// while they stay as they are.
class ProblemCode {
public:
    ProblemCode(FileSystem& files, const RunProblems& run, const BuildNames& names)
        : files_(files), run_(run), names_(names) {}

    std::string For(const Problem& problem);

private:
    std::string Section(const std::string& path, int line, int around);

    struct ReadFile {
        std::optional<FileStamp> stamp;
        std::string text;
    };

    FileSystem& files_;
    const RunProblems& run_;
    const BuildNames& names_;
    std::map<std::string, ReadFile> read_;
};

}  // namespace ktv
