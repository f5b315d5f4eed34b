// A user's Basic file and the "$SOURCE" line Debug makes sure it has: a file
// with a marker line is left alone; any other gets the line on top and keeps
// every one of its own lines, in order, as it was.
#include <string>
#include <vector>

#include "Fakes.h"
#include "Fuzz.h"
#include "debug/SourceMarkers.h"
#include "text/Lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ktv::fakes::FakePlatform fake;
    fake.files.AddFile("c:\\work\\prog.bas", text);
    ktv::DebugOptions options;
    options.basicFile = "c:\\work\\prog.bas";
    ktv::BuildNames names{"c:\\work", "prog", "prog.bas"};
    ktv::RunControl run;
    ktv::DebugContext context{options, names, fake.platform, 0, run};

    const bool inserted = ktv::InsertSourceMarkers(context, "c:\\work\\prog.bas");
    const std::string after = fake.files.Content("c:\\work\\prog.bas").value_or("");
    ktv::fuzz::Check(inserted == !ktv::HasMarkerLine(text), "the marker was judged wrongly");
    if (!inserted) {
        ktv::fuzz::Check(after == text, "a file with its marker changed");
        return 0;
    }
    std::vector<std::string> lines = ktv::SplitLines(after);
    ktv::fuzz::Check(!lines.empty() && ktv::HasMarkerLine(lines.front()), "no marker on top");
    lines.erase(lines.begin());
    ktv::fuzz::Check(lines == ktv::SplitLines(text), "a line of the file changed");
    return 0;
}
