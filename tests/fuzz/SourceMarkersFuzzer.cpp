// The Basic file: one with a marker line anywhere is left as it is and nothing
// is shown; one without is rewritten, after one box, as the marker line
// followed by every old line, each ended by CR LF; nothing is left beside it.
#include <exception>
#include <string>

#include "Fakes.h"
#include "Fuzz.h"
#include "debug/SourceMarkers.h"
#include "text/Lines.h"
#include "text/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string old(reinterpret_cast<const char*>(data), size);
    ktv::fakes::FakePlatform fake;
    fake.files.AddFile("c:\\work\\prog.bas", old);
    ktv::BuildRun run{"c:\\work", "prog", "prog.bas"};
    ktv::DebugContext context{ktv::DebugOptions{}, run, fake.platform, 7};
    bool inserted = false;
    try {
        inserted = ktv::InsertSourceMarkers(context, "c:\\work\\prog.bas");
    } catch (const std::exception&) {
        ktv::fuzz::Check(false, "an exception escaped though the file can be read and written");
    }
    bool hadMarker = false;
    std::string expected = "$SOURCE     '  Inserted by KTV Debugger\r\n";
    for (const std::string& line : ktv::SplitLines(old)) {
        hadMarker = hadMarker || ktv::StartsWithIgnoringCase(ktv::TrimSpaces(line), "$source");
        expected += line + "\r\n";
    }
    ktv::fuzz::Check(inserted == !hadMarker, "the result does not match the marker's presence");
    ktv::fuzz::Check(fake.files.Content("c:\\work\\prog.bas") == (inserted ? expected : old),
                     "the file is not as it should be");
    ktv::fuzz::Check(fake.transcript.Only({"box["}).size() == (inserted ? 1u : 0u),
                     "the change was not announced in exactly one box");
    ktv::fuzz::Check(fake.files.AllFiles().size() == 1, "a file was left beside the Basic file");
    return 0;
}
