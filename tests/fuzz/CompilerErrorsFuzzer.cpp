#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "FuzzWorld.h"
#include "diagnostics/ErrorReaders.h"
#include "platform/Errors.h"

namespace {

using ktv::fuzz::Lines;

constexpr const char* kErrorFile = "c:\\work\\lcc.err";
constexpr const char* kCFile = "c:\\work\\prog.c";

struct Kind {
    bool (*reader)(ktv::DebugContext&, const std::string&);
    std::string_view word;       // how its lines begin, in lower case
    std::string_view label;      // the scan for the C line starts past label + "prog.c:"
    std::string_view prefix;     // how its box begins
    std::string_view headline;   // of the report for a problem that leads nowhere
    std::string_view reported;   // before the compiler's text in that report
    std::string_view lineLabel;  // before the C line in that report
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool BeginsWith(std::string_view line, std::string_view word) {
    if (line.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(line[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

bool HasLineBeginning(std::string_view text, std::string_view word) {
    for (const std::string_view line : Lines(text)) {
        if (BeginsWith(line, word)) {
            return true;
        }
    }
    return false;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool AllDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A whole number that fits an int, from digits alone; nothing otherwise.
std::optional<long long> Number(std::string_view digits) {
    if (digits.empty() || !AllDigits(digits)) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 2147483647) {
            return std::nullopt;
        }
    }
    return value;
}

struct Malformed {};

// The readers' outcome worked out line by line, the slow and plain way: the
// box text, nothing when the build goes on, or Malformed thrown.
std::optional<std::string> ExpectedBox(const Kind& kind, const std::string& errors,
                                       const std::optional<std::string>& cFile) {
    const std::size_t start = kind.label.size() + std::string_view("prog.c:").size() - 1;
    std::optional<std::string> unmapped;
    for (const std::string_view line : Lines(errors)) {
        if (!BeginsWith(line, kind.word)) {
            continue;
        }
        const std::size_t first =
            start < line.size() ? line.find_first_of("123456789", start) : std::string_view::npos;
        const std::size_t space = first == std::string_view::npos ? first : line.find(' ', first);
        if (space == std::string_view::npos) {
            throw Malformed{};
        }
        std::string_view number = line.substr(first, space - first);
        const std::size_t point = number.find('.');
        if (point != std::string_view::npos && !AllDigits(number.substr(point + 1))) {
            throw Malformed{};
        }
        const std::optional<long long> cLine = Number(number.substr(0, point));
        if (!cLine) {
            throw Malformed{};
        }
        const std::string message(line.substr(space));
        const std::string report =
            std::string(kind.headline) + "\r\n\r\nCheck Basic code is for KTV.\r\n" +
            "Check not missing Libraries.\r\nCheck you are using a good verion of KTVC.exe\r\n" +
            "Chek there are no bad variable declarations\r\n\r\n" + std::string(kind.reported) +
            "\r\n" + message + "\r\n\r\n" + std::string(kind.lineLabel) + " " +
            std::to_string(*cLine);
        if (!cFile) {
            return report;
        }
        const std::vector<std::string_view> cLines = Lines(*cFile);
        for (long long distance = 0; distance <= 17; ++distance) {
            const long long at = *cLine - distance;
            if (at < 1 || at > static_cast<long long>(cLines.size())) {
                break;
            }
            const std::string_view text = Trim(cLines[static_cast<std::size_t>(at - 1)]);
            if (text.size() < 5 || text.substr(0, 4) != "// [" || text[4] < '0' || text[4] > '9') {
                continue;
            }
            const std::size_t close = text.find(']');
            if (close == std::string_view::npos) {
                throw Malformed{};
            }
            const std::optional<long long> basicLine = Number(text.substr(4, close - 4));
            if (!basicLine) {
                throw Malformed{};
            }
            return message + "   -   Basic Line:  " + std::to_string(*basicLine);
        }
        unmapped = report;
    }
    return unmapped;
}

void Exercise(const Kind& kind, const std::string& errors, const std::string& cFile) {
    ktv::fuzz::FuzzWorld world;
    world.fake.files.AddFile(kErrorFile, errors);
    if (!cFile.empty()) {
        world.fake.files.AddFile(kCFile, cFile);
    }
    ktv::DebugContext context = world.Context();

    bool goOn = true;
    bool failed = false;
    try {
        goOn = kind.reader(context, kErrorFile);
    } catch (const ktv::Error&) {
        failed = true;  // the driver reports "Cannot Pass C error file"
    } catch (const std::exception&) {
        ktv::fuzz::Violated("an exception other than ktv::Error escaped");
    }

    const std::size_t boxes = world.Boxes();
    ktv::fuzz::Check(boxes <= 1, "more than one box");
    if (failed) {
        // The driver's box follows; the user must not get two.
        ktv::fuzz::Check(boxes == 0, "a box was shown before the failure");
        ktv::fuzz::Check(HasLineBeginning(errors, kind.word),
                         "a failure without a diagnostic line of the kind");
    } else {
        ktv::fuzz::Check(goOn == (boxes == 0), "the result does not match the box");
        ktv::fuzz::Check(goOn == !HasLineBeginning(errors, kind.word),
                         "the result does not match the presence of a diagnostic line");
    }
    std::optional<std::string> expected;
    bool malformed = false;
    try {
        expected = ExpectedBox(kind, errors,
                               cFile.empty() ? std::nullopt : std::optional<std::string>(cFile));
    } catch (const Malformed&) {
        malformed = true;
    }
    ktv::fuzz::Check(failed == malformed, "failed where the line-by-line reading does not");
    if (!failed) {
        const auto entries = world.fake.transcript.Only({"box["});
        const std::optional<std::string> shown =
            entries.empty() ? std::nullopt : std::optional<std::string>(entries.front());
        const std::optional<std::string> wanted =
            expected ? std::optional<std::string>("box[64|Error!]: " + std::string(kind.prefix) +
                                                  *expected)
                     : std::nullopt;
        ktv::fuzz::Check(shown == wanted, "the box differs from the line-by-line reading");
    }
    ktv::fuzz::Check(world.fake.files.Content(kErrorFile) == errors, "the error file changed");
    ktv::fuzz::Check(world.fake.files.Content(kCFile) ==
                         (cFile.empty() ? std::nullopt : std::optional<std::string>(cFile)),
                     "the C file changed");
}

}  // namespace

// Input: the compiler's error file, "\0\0", then the C file (none when that
// part is empty). Both readers either go on without a box, report one problem
// in one box of their kind and stop, or fail with ktv::Error (FormatError for a
// malformed file) before any box;
// which, and the box's text, agree with a plain line-by-line reading.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [errors, cFile] = ktv::fuzz::SplitInTwo(data, size);
    Exercise(Kind{&ktv::ShowCErrors, "error", "error: ", "C Error: ", "Unregonisable error.",
                  "Error Reported was:", "Line: "},
             errors, cFile);
    Exercise(Kind{&ktv::ShowCWarnings, "warning", "warning: ", "C Warning: ",
                  "Unregonisable Warning.", "Warning Reported was:", " Line: "},
             errors, cFile);
    return 0;
}
