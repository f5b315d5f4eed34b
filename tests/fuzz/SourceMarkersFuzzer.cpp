#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzWorld.h"
#include "diagnostics/SourceMarkers.h"

namespace {

using ktv::fuzz::Lines;

constexpr const char* kBasicFile = "c:\\work\\prog.bas";
constexpr std::string_view kMarkerLine = "$SOURCE     '  Inserted by KTV Debugger";

// Without its leading spaces (tabs stay) and in upper case, the line begins
// with "$SOURCE"; trailing spaces cannot change that.
bool IsMarkerLine(std::string_view line) {
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    constexpr std::string_view kWord = "$SOURCE";
    if (line.size() < kWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kWord.size(); ++i) {
        const char c = line[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != kWord[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Input: the Basic file. A file with a marker line anywhere is left as it is
// and nothing is shown; a file without one is rewritten as the marker line
// followed by every old line, each ended by CR LF, after one box.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string old(reinterpret_cast<const char*>(data), size);
    ktv::fuzz::FuzzWorld world;
    world.fake.files.AddFile(kBasicFile, old);
    ktv::DebugContext context = world.Context();

    bool inserted = false;
    try {
        inserted = ktv::InsertSourceMarkers(context, kBasicFile);
    } catch (const std::exception&) {
        ktv::fuzz::Violated("an exception escaped though the file can be read and written");
    }

    bool hadMarker = false;
    std::string expected(kMarkerLine);
    expected += "\r\n";
    for (const std::string_view line : Lines(old)) {
        hadMarker = hadMarker || IsMarkerLine(line);
        expected.append(line).append("\r\n");
    }
    const auto now = world.fake.files.Content(kBasicFile);
    ktv::fuzz::Check(inserted == !hadMarker, "the result does not match the marker's presence");
    if (inserted) {
        ktv::fuzz::Check(now == expected, "the rewritten file is not marker + old lines");
        ktv::fuzz::Check(world.Boxes() == 1, "the change was not announced in one box");
    } else {
        ktv::fuzz::Check(now == old, "a file with a marker line was changed");
        ktv::fuzz::Check(world.Boxes() == 0, "a box for a file that keeps its marker");
    }
    ktv::fuzz::Check(world.fake.files.AllFiles().size() == 1,
                     "a file was left beside the Basic file");
    return 0;
}
