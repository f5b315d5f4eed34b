// The text helpers every layer uses: Windows paths, key texts and command
// lines.

#include <gtest/gtest.h>

#include "console/CommandArguments.h"
#include "text/Errors.h"
#include "text/KeyText.h"
#include "text/Paths.h"

namespace ktv {
namespace {

TEST(Paths, TakeAWindowsPathApartByItsLastBackslashAndDot) {
    using Parts = std::tuple<std::string, std::string, std::string, std::string, const char*>;
    const Parts cases[] = {
        // path, StripTrailingSlash, GetFileName, GetFolder, GetBaseName (null: fails)
        {"c:\\lcc\\", "c:\\lcc", "", "c:\\lcc", nullptr},
        {"c:\\lcc\\\\", "c:\\lcc\\", "", "c:\\lcc\\", nullptr},
        {"c:/lcc/", "c:/lcc/", "c:/lcc/", "", nullptr},
        {"\\", "", "", "", nullptr},
        {"", "", "", "", nullptr},
        {"c:\\work\\prog.bas", "c:\\work\\prog.bas", "prog.bas", "c:\\work", "prog"},
        {"c:\\prog.bas", "c:\\prog.bas", "prog.bas", "c:", "prog"},
        {"\\p.bas", "\\p.bas", "p.bas", "", "p"},
        {"prog.bas", "prog.bas", "prog.bas", "", "prog"},
        {"c:\\w\\my.prog.bas", "c:\\w\\my.prog.bas", "my.prog.bas", "c:\\w", "my.prog"},
        {"c:\\w\\.bas", "c:\\w\\.bas", ".bas", "c:\\w", ""},
        {"c:\\w\\prog.", "c:\\w\\prog.", "prog.", "c:\\w", "prog"},
        {"c:/w/prog.bas", "c:/w/prog.bas", "c:/w/prog.bas", "", "c:/w/prog"},
        {"c:\\w\\prog", "c:\\w\\prog", "prog", "c:\\w", nullptr},
        {"c:\\my.dir\\prog", "c:\\my.dir\\prog", "prog", "c:\\my.dir", nullptr}};
    for (const auto& [path, stripped, fileName, folder, baseName] : cases) {
        EXPECT_EQ(StripTrailingSlash(path), stripped) << path;
        EXPECT_EQ(GetFileName(path), fileName) << path;
        EXPECT_EQ(GetFolder(path), folder) << path;
        if (baseName == nullptr) {
            EXPECT_THROW(GetBaseName(path), InvalidArgument) << path;
        } else {
            EXPECT_EQ(GetBaseName(path), baseName) << path;
        }
    }
    EXPECT_EQ(JoinPath("c:\\lcc\\", "lib"), "c:\\lcc\\\\lib");
    for (const auto& [path, quoted] : {std::pair{"c:\\work\\a.bas", "c:\\work\\a.bas"},
                                       {"c:\\my work", "\"c:\\my work\""},
                                       {"\"c:\\my work\"", "\"c:\\my work\""},
                                       {"", ""}}) {
        EXPECT_EQ(QuoteIfSpaced(path), quoted) << path;
    }
}

// The strokes of a key text as "CSA:key" (modifiers held, then the key).
std::string Strokes(std::string_view text) {
    std::string out;
    for (const KeyStroke& stroke : ParseKeyText(text)) {
        out += out.empty() ? "" : ",";
        out += stroke.ctrl ? "C" : "";
        out += stroke.shift ? "S" : "";
        out += stroke.alt ? "A" : "";
        if (const char* c = std::get_if<char>(&stroke.key)) {
            out += std::string(1, *c);
        } else {
            out += "#" + std::to_string(static_cast<int>(std::get<NamedKey>(stroke.key)));
        }
    }
    return out;
}

TEST(KeyText, ParsesTheKeysTheProgramSendsAndRejectsBadText) {
    const auto named = [](NamedKey key) { return "#" + std::to_string(static_cast<int>(key)); };
    const std::pair<std::string_view, std::string> cases[] = {
        {"^g", "Cg"},
        {" 12", " ,1,2"},
        {"{ENTER}", named(NamedKey::Enter)},
        {"+{END}", "S" + named(NamedKey::End)},
        {"{HOME}", named(NamedKey::Home)},
        {"{F5}{F9}", named(NamedKey::F5) + "," + named(NamedKey::F9)},
        {"~", named(NamedKey::Enter)},
        {"%{f4}", "A" + named(NamedKey::F4)},
        {"^+a", "CSa"},
        {"+(ab)c", "Sa,Sb,c"},
        {"{LEFT 2}", named(NamedKey::Left) + "," + named(NamedKey::Left)},
        {"{LEFT 0}x", "x"},
        {"{+}{^}{%}{~}{(}{)}{{}{}}", "+,^,%,~,(,),{,}"},
        {"", ""}};
    for (const auto& [text, strokes] : cases) {
        EXPECT_EQ(Strokes(text), strokes) << text;
    }
    for (std::string_view text : {"^", "{ENTER", "ENTER}", "{NOPE}", "(ab", "a)", "()", "{LEFT x}",
                                  "{LEFT 2x}", "{LEFT -1}", "{LEFT 1001}", "{}"}) {
        EXPECT_THROW(ParseKeyText(text), InvalidArgument) << text;
    }
    EXPECT_EQ(ParseKeyText("{a 1000}").size(), 1000u);
    EXPECT_EQ(ParseKeyText("{escape}{Bs}{BKSP}{del}{INS}"),
              ParseKeyText("{ESC}{BACKSPACE}{BACKSPACE}{DELETE}{INSERT}"));
}

TEST(CommandArguments, AreTheTextAfterTheProgramNameAsWritten) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"KTVCapture.exe   ", ""},
        {"KTVCapture.exe cmd /c dir", "cmd /c dir"},
        {"KTVCapture.exe \t prog.exe  a   \"b c\"  ", "prog.exe  a   \"b c\"  "},
        {"\"c:\\my tools\\KTVCapture.exe\" x.exe", "x.exe"},
        {"\"c:\\my tools\\KTVCapture.exe\"x.exe y", "y"},
        {"\"unclosed quote x.exe", ""}};
    for (const auto& [commandLine, arguments] : cases) {
        EXPECT_EQ(ArgumentsAfterProgramName(commandLine), arguments) << commandLine;
    }
}

}  // namespace
}  // namespace ktv
