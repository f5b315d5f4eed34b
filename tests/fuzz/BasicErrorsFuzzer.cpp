#include <exception>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "FuzzWorld.h"
#include "diagnostics/ErrorReaders.h"
#include "platform/Errors.h"

namespace {

constexpr const char* kErrorFile = "c:\\work\\ktv.err";

// The first line as the translator's report: up to the first CR.
std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find('\r'));
}

}  // namespace

// Input: the translator's error file. Any content is read without an
// exception (only a file that cannot be read may fail, and the fake reads
// every file); an empty file reports nothing; anything else is reported in
// exactly one box that shows the whole first line, and the result is false
// exactly when a box was shown. The file itself is left alone.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ktv::fuzz::FuzzWorld world;
    world.fake.files.AddFile(kErrorFile, text);
    ktv::DebugContext context = world.Context();

    bool goOn = true;
    try {
        goOn = ktv::ShowBasicErrors(context, kErrorFile);
    } catch (const std::exception&) {
        ktv::fuzz::Violated("an exception escaped the translator's error reader");
    }

    const std::size_t boxes = world.Boxes();
    ktv::fuzz::Check(boxes <= 1, "more than one box");
    ktv::fuzz::Check(goOn == (boxes == 0), "the result does not match the box");
    ktv::fuzz::Check(goOn == text.empty(), "an error file with text was not reported");
    if (boxes == 1) {
        const std::string entry = world.fake.transcript.Only({"box["}).front();
        const std::string expected = "box[64|Error!]: Basic Error: " + std::string(FirstLine(text));
        ktv::fuzz::Check(entry == expected, "the box does not show the first line");
    }
    ktv::fuzz::Check(world.fake.files.Content(kErrorFile) == text, "the error file changed");
    return 0;
}
