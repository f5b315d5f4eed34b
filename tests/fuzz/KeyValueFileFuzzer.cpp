// LCC's project list as the post-build step rewrites it in place: the input
// holds the file, then a zero byte, the key, a zero byte and the value. The
// rewrite never fails on content (only an empty file is refused), and keeps
// every line it was not asked to change, in order; each line of the key is
// set to the value or, for "*delete*", gone. Only empty lines may go besides.
#include <string>
#include <string_view>
#include <vector>

#include "Fakes.h"
#include "Fuzz.h"
#include "debug/KeyValueFile.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Strings.h"

namespace {

bool IsKeyLine(std::string_view line, std::string_view key) {
    const std::size_t equals = line.find('=');
    return equals != std::string_view::npos &&
           ktv::EqualsIgnoringCase(ktv::TrimLeadingSpaces(line.substr(0, equals)), key);
}

// The lines other than the key's and the empty ones.
std::vector<std::string> OtherLines(std::string_view text, std::string_view key) {
    std::vector<std::string> kept;
    for (std::string& line : ktv::SplitLines(text, ktv::LineEnds::Any)) {
        if (!line.empty() && !IsKeyLine(line, key)) {
            kept.push_back(std::move(line));
        }
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\0');
    const std::size_t second =
        first == std::string_view::npos ? first : input.find('\0', first + 1);
    if (second == std::string_view::npos) {
        return 0;
    }
    const std::string before(input.substr(0, first));
    const std::string setting(input.substr(first + 1, second - first - 1));
    const std::string value(input.substr(second + 1));
    if (setting.find_first_of("\r\n") != std::string::npos ||
        value.find_first_of("\r\n") != std::string::npos) {
        return 0;  // the program's keys and values are single lines
    }
    ktv::fakes::FakePlatform fake;
    fake.files.AddFile("c:\\lcc\\lib\\projects.ini", before);
    try {
        ktv::ModifyConfigFile(fake.files, "c:\\lcc\\lib\\projects.ini", setting, value);
    } catch (const ktv::FileError&) {
        ktv::fuzz::Check(before.empty(), "a file with content was refused");
        return 0;
    }
    const std::string after = fake.files.Content("c:\\lcc\\lib\\projects.ini").value_or("");
    const std::string key = setting.empty() ? "default" : setting;
    ktv::fuzz::Check(OtherLines(after, key) == OtherLines(before, key),
                     "a line that was not asked for changed");
    for (const std::string& line : ktv::SplitLines(after, ktv::LineEnds::Any)) {
        if (IsKeyLine(line, key)) {
            ktv::fuzz::Check(value != ktv::kDeleteMarker, "a deleted key stays");
            ktv::fuzz::Check(std::string_view(line).substr(line.find('=') + 1) == value,
                             "a key line has another value");
        }
    }
    return 0;
}
