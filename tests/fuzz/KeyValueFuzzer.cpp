#include <string>
#include <string_view>
#include <vector>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "main/KeyValueFile.h"
#include "platform/Errors.h"

namespace {

// Lines that hold text, split at any line end, in order.
std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

}  // namespace

// Input: the file, then "\0\0", then the key; the first byte picks the value.
// A file either fails with FileError or is rewritten keeping every line that
// holds text in its place, changed or removed only where the key matches; no
// line is ever added.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool remove = data[0] & 1;
    auto [file, setting] = ktv::fuzz::SplitInTwo(data + 1, size - 1);
    const std::string value = remove ? ktv::kDeleteMarker : "new=value";

    ktv::fakes::FakePlatform fake;
    fake.files.AddFolder("c:\\lcc\\lib");
    const std::string path = "c:\\lcc\\lib\\projects.ini";
    fake.files.AddFile(path, file);
    try {
        ktv::ModifyConfigFile(fake.files, path, setting, value);
    } catch (const ktv::FileError&) {
        ktv::fuzz::Check(fake.files.Content(path) == file, "a failed edit changed the file");
        return 0;
    }
    const auto before = TextLines(file);
    const auto after = TextLines(*fake.files.Content(path));
    ktv::fuzz::Check(after.size() <= before.size(), "a line was added");
    if (!remove) {
        ktv::fuzz::Check(after.size() == before.size(), "a line was lost");
    }
    return 0;
}
