// Input: the first byte picks set or delete, then the file, "\0\0", the key.
// A file either fails with FileError and stays as it was, or is rewritten
// with no line added, and with every line that holds text kept when a value
// is set.
#include <string>

#include "Fakes.h"
#include "Fuzz.h"
#include "debug/KeyValueFile.h"
#include "text/Errors.h"
#include "text/Lines.h"

namespace {

std::size_t LinesWithText(const std::string& text) {
    std::size_t count = 0;
    for (const std::string& line : ktv::SplitLines(text, ktv::LineEnds::Any)) {
        count += line.empty() ? 0 : 1;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool remove = (data[0] & 1) != 0;
    const auto [file, setting] = ktv::fuzz::SplitInTwo(data + 1, size - 1);
    ktv::fakes::FakePlatform fake;
    fake.files.AddFile("c:\\lcc\\lib\\projects.ini", file);
    try {
        ktv::ModifyConfigFile(fake.files, "c:\\lcc\\lib\\projects.ini", setting,
                              remove ? ktv::kDeleteMarker : "new=value");
    } catch (const ktv::FileError&) {
        ktv::fuzz::Check(fake.files.Content("c:\\lcc\\lib\\projects.ini") == file,
                         "a failed edit changed the file");
        return 0;
    }
    const std::size_t before = LinesWithText(file);
    const std::size_t after = LinesWithText(*fake.files.Content("c:\\lcc\\lib\\projects.ini"));
    ktv::fuzz::Check(after <= before, "a line was added");
    ktv::fuzz::Check(remove || after == before, "a line was lost");
    return 0;
}
