// The translator's error file (ktv.err) or, built with KTV_FUZZ_COMPILER, the
// compiler's (lcc.err) with a C file: the input holds the error file, then
// "\0\0", then the C file. Any content is read without an exception other
// than the FormatError the compiler's reader documents for a malformed line;
// at most one box is shown, exactly when the reader says the run ends; an
// error file without a line of the kind reports nothing; the JFE editor gets
// keys only for a mapped C problem; no file changes. The list of every
// problem reads the same files without an exception: one problem for each
// line of the kind (the translator's lines that hold text), each printed as
// one line.
#include <algorithm>
#include <exception>
#include <string>
#include <string_view>

#include "Fakes.h"
#include "Fuzz.h"
#include "debug/ProblemReport.h"
#include "debug/Problems.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(input.find(std::string_view("\0\0", 2)), input.size());
    const std::string errors(input.substr(0, cut));
    const std::string cFile(input.substr(std::min(cut + 2, input.size())));
    ktv::fakes::FakePlatform fake;
    ktv::BuildNames names{"c:\\work", "prog", "prog.bas"};
    ktv::DebugOptions options;
    options.basicFile = "c:\\work\\prog.bas";
    options.editor = ktv::EditorChoice::JFE;
    ktv::RunControl run;
    ktv::DebugContext context{options, names, fake.platform, 7, run};
#ifdef KTV_FUZZ_COMPILER
    const char* errorFile = "c:\\work\\lcc.err";
    fake.files.AddFile("c:\\work\\prog.c", cFile);
    const auto reader = &ktv::ShowCErrors;
    bool ofTheKind = false;
    for (const std::string& line : ktv::SplitLines(errors)) {
        ofTheKind = ofTheKind || ktv::StartsWithIgnoringCase(line, "error");
    }
#else
    const char* errorFile = "c:\\work\\ktv.err";
    const auto reader = &ktv::ShowBasicErrors;
    const bool ofTheKind = !errors.empty();
#endif
    fake.files.AddFile(errorFile, errors);
    std::size_t lines = 0;
    for (const std::string& line : ktv::SplitLines(errors)) {
#ifdef KTV_FUZZ_COMPILER
        lines += ktv::StartsWithIgnoringCase(line, "error") ||
                 ktv::StartsWithIgnoringCase(line, "warning");
#else
        lines += lines == 0 || !ktv::TrimSpaces(line).empty();
#endif
    }
    ktv::RunProblems list = ktv::NoProblems(options.basicFile, names);
    ktv::ReadTranslatorProblems(fake.files, names, list);
    ktv::ReadCompilerProblems(fake.files, names, list);
    ktv::fuzz::Check(list.problems.size() == lines, "a problem was listed or missed");
    for (const ktv::Problem& problem : list.problems) {
        const std::string line = ktv::ProblemLine(problem, list);
        ktv::fuzz::Check(line.find_first_of("\r\n") == std::string::npos, "a problem spans lines");
    }
    bool goOn = true;
    try {
        goOn = reader(context, list);
    } catch (const ktv::FormatError&) {
#ifndef KTV_FUZZ_COMPILER
        ktv::fuzz::Check(false, "the translator's reader threw");
#endif
        return 0;
    } catch (const std::exception&) {
        ktv::fuzz::Check(false, "an undocumented exception escaped");
    }
    const std::size_t boxes = fake.transcript.Only({"box["}).size();
    ktv::fuzz::Check(boxes <= 1, "more than one box");
    ktv::fuzz::Check(goOn == (boxes == 0), "the result does not match the box");
    ktv::fuzz::Check(goOn == !ofTheKind, "a problem was reported or missed");
    ktv::fuzz::Check(fake.files.Content(errorFile) == errors, "the error file changed");
#ifdef KTV_FUZZ_COMPILER
    if (!fake.transcript.Only({"keys"}).empty()) {
        ktv::fuzz::Check(
            fake.transcript.Only({"box["})[0].find("Unregonisable") == std::string::npos,
            "keys typed for a problem that leads nowhere");
    }
#endif
    return 0;
}
